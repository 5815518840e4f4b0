// The entry point of libquor_pulse_capture.so.
#include "capture/CaptureModule.h"
#include "mixer/PulseMixerBackend.h"

#include <type_traits>

// Only this name leaves the module, and no exception crosses back. The module keeps a connection
// of its own, so it takes the program's identity here.
extern "C" __attribute__((visibility("default"))) platform::CaptureModule
QuorPulseCapture(const platform::SoundClientIdentity* identity) {
    try {
        platform::SetSoundClientIdentity(*identity);
        return {&platform::PulseWaveInDriver(), &platform::PulseMixer()};
    } catch (...) {
        return {nullptr, nullptr};
    }
}

static_assert(std::is_same_v<decltype(&QuorPulseCapture), platform::CaptureEntryFunction>);
