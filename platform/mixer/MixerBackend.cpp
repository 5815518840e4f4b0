// Which backend the mixer* functions use.
#include "platform/mixer/MixerBackend.h"

#include "platform/mixer/PulseMixerBackend.h"

#include <atomic>

namespace platform {
namespace {
std::atomic<MixerBackend*> g_backend{nullptr};
}

MixerBackend& CurrentMixerBackend() {
    MixerBackend* backend = g_backend.load();
    return backend ? *backend : PulseMixer();
}

MixerBackend* SetMixerBackend(MixerBackend* backend) {
    return g_backend.exchange(backend);
}

} // namespace platform
