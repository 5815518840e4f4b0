// Where the programs' boxes and dialogs open: over the middle of the window that owns them, or of
// the screen when nothing does. GUI thread only.
#pragma once

class QWidget;

namespace ui {

// Moves `box` (a top-level window with its final size) over the centre of its parent's window, kept
// inside the screen.
void CentreOverOwner(QWidget* box);

} // namespace ui
