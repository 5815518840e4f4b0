// The recording formats, as RecorderSettings::fileType stores them (the registry's FileTypeSel).
#pragma once

#include <cstdint>

constexpr int32_t kFileTypeMp3 = 0;
constexpr int32_t kFileTypeWav = 1;
// Stored by older versions; nothing records it any more.
constexpr int32_t kFileTypeOgg = 2;
