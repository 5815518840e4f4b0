// The entry point of libquor_pulse_capture.so, the module that holds capture and the mixer over
// PulseAudio, so that the recorder maps libpulse and the codec libraries it pulls in only once it
// first opens a capture or the mixer (after the window's first paint). Both sides are built
// together from this tree, so the C++ objects cross the boundary as they are.
// What must exist once per program stays in the program and the module calls back into it: the
// capture queue of WaveInDevice (with the thread messages it posts) and the mixer's change
// notices. The program exports those names (program-names.list).
#pragma once

#include "mixer/MixerBackend.h"
#include "pulse/SoundClientIdentity.h"
#include "wavein/WaveInDevice.h"

namespace platform {

inline constexpr char kCaptureModuleFile[] = "libquor_pulse_capture.so";
inline constexpr char kCaptureEntryName[] = "QuorPulseCapture";

// The module's driver and mixer, which live as long as the program (the module is never
// unloaded); both null when they cannot be made.
struct CaptureModule {
    WaveInDriver* driver;
    MixerBackend* mixer;
};

// Its connection carries the identity.
using CaptureEntryFunction = CaptureModule (*)(const SoundClientIdentity* identity);

} // namespace platform
