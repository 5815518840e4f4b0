// The mixer calls of the volume page: lines by place or identifier, a line's controls, and
// control values read and written as 32-bit items. Every failure is reported as "nothing"
// (false or empty); the page shows or writes nothing then. GUI thread.
#pragma once

#include "platform/mixer/Mixer.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace volumepage {

std::optional<MIXERCAPS> ReadCaps(uint32_t device);
std::optional<MIXERLINE> ReadDestination(HMIXER mixer, uint32_t destination);
std::optional<MIXERLINE> ReadSource(HMIXER mixer, uint32_t destination, uint32_t source);
std::optional<MIXERLINE> ReadLine(HMIXER mixer, uint32_t lineId);
// All controls of the line; empty when the line has none or they cannot be read.
std::vector<MIXERCONTROL> ReadControls(HMIXER mixer, const MIXERLINE& line);
// The line's first control of the type.
std::optional<MIXERCONTROL> FindControl(HMIXER mixer, const MIXERLINE& line, uint32_t type);

// One value for the whole control (all channels).
std::optional<uint32_t> ReadValue(HMIXER mixer, uint32_t controlId);
bool WriteValue(HMIXER mixer, uint32_t controlId, uint32_t value);
// One value per item of a multiple-item control (a MUX), in item order.
std::vector<uint32_t> ReadItems(HMIXER mixer, const MIXERCONTROL& control);
bool WriteItems(HMIXER mixer, uint32_t controlId, const std::vector<uint32_t>& values);
// The item names of a multiple-item control, in item order.
std::vector<QString> ReadItemNames(HMIXER mixer, const MIXERCONTROL& control);

inline QString NameOf(const char16_t* field) {
    return QString::fromUtf16(field);
}

} // namespace volumepage
