// pavucontrol's tabs: 1 playback, 2 recording streams, 3 output devices, 4 input devices.
#include "platform/shell/SoundControlPanel.h"

#include "platform/shell/ProgramLauncher.h"

namespace platform {

bool OpenSoundControlPanel() {
    const std::string program = FindProgram("pavucontrol");
    return !program.empty() && StartDetached(program, {"--tab=4"});
}

} // namespace platform
