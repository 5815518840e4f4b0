// How a repainted area reaches an X11 display. Qt hands it over in shared memory by default, and
// then waits for the X server to confirm the previous transfer before it paints again: a round
// trip and two thread wake-ups for every frame of the live spectrum or the playing position. Sent
// through the connection instead, the few kilobytes of a small control cost less than the wait.
// Must be called before QApplication is created; a value the user set in the environment wins.
#pragma once

namespace ui {

void SendWindowImagesThroughTheConnection();

} // namespace ui
