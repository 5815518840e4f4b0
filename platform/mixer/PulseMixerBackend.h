// The mixer over the sound server's introspection: the devices of PulseMixerModel.h, read at
// every call. The MUX selects the capture source of this process (and moves its open captures),
// never the server's default source; selecting the stereo mix follows the default output.
#pragma once

#include "platform/mixer/PulseMixerModel.h"

namespace platform {

MixerBackend& PulseMixer();

} // namespace platform
