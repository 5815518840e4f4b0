// The entry point of libquor_pulse_playback.so, the module that holds the PulseAudio player, so
// that the splitter maps libpulse and the codec libraries it pulls in only once it plays. Both
// sides are built together from this tree, so the C++ objects cross the boundary as they are.
#pragma once

#include "player/AudioPlayer.h"
#include "pulse/SoundClientIdentity.h"

namespace platform {

inline constexpr char kPlaybackModuleFile[] = "libquor_pulse_playback.so";
inline constexpr char kCreatePlayerName[] = "QuorCreatePulseAudioPlayer";

// A new player (the caller owns it) whose connections carry the identity; nullptr when it cannot
// be made. The module is never unloaded, so the player may live as long as the program.
using CreatePlayerFunction = AudioPlayer* (*)(const SoundClientIdentity* identity);

} // namespace platform
