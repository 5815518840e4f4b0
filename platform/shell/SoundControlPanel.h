// The desktop's sound settings, opened on the page that lists recording devices.
#pragma once

namespace platform {

// Starts pavucontrol on its input-devices tab when it is installed. False, and nothing shown,
// when there is no such program or it cannot start.
bool OpenSoundControlPanel();

} // namespace platform
