// How this program appears in the desktop's volume control, kept apart from the connection so
// that a program can set it without mapping the sound client library (its player loads that later).
#pragma once

#include <string>

namespace platform {

// Its name, application id and icon name.
struct SoundClientIdentity {
    std::string name;
    std::string id;
    std::string icon;
};

// Set once in main, before the first connection; later connections use it too. Any thread.
void SetSoundClientIdentity(SoundClientIdentity identity);
// The identity set; without a name, the program's own file name (never a shared one).
SoundClientIdentity CurrentSoundClientIdentity();

} // namespace platform
