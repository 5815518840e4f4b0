// The control queries the recorder's mixer users share, over the mixer* calls with an open
// mixer handle.
#pragma once

#include "platform/mixer/Mixer.h"

#include <cstdint>
#include <optional>
#include <vector>

// An open mixer handle as the object the mixer* calls take (with MIXER_OBJECTF_HMIXER).
inline HMIXEROBJ AsMixerObject(HMIXER mixer) {
    return reinterpret_cast<HMIXEROBJ>(mixer);
}

// The first control of `controlType` on line `lineId`; nullopt when the line has none or the
// call fails.
std::optional<MIXERCONTROL> LineControlOfType(HMIXER mixer, uint32_t lineId, uint32_t controlType);

// All `controlCount` controls of line `lineId`; empty when the call fails.
std::vector<MIXERCONTROL> LineControls(HMIXER mixer, uint32_t lineId, uint32_t controlCount);
