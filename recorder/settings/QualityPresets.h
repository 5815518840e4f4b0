// The quality presets of each output format: the labels of the quality list, in index order, and
// the sample rate and bit rate each one sets.
#pragma once

#include "recorder/settings/FileType.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

struct QualityPreset {
    std::string_view label;
    std::optional<int32_t> sampleRate; // nullopt: left as it was
    std::optional<int32_t> bitRate;    // nullopt: left as it was
};

struct FormatPresets {
    std::span<const QualityPreset> rows;
    QualityPreset fallback; // for an index outside the rows, negative ones included
};

// The presets of a format, or null for a fileType other than the three kFileType values.
const FormatPresets* PresetsForFileType(int32_t fileType);
