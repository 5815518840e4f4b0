// The live line quor-record keeps on a terminal: elapsed time, file size and a level bar.
#pragma once

#include <cstdint>
#include <string>

// For example "00:01:23   1.4 MB  [##########..........]  -12 dB". peak: 0..32768 of 16-bit audio.
std::string StatusLine(uint64_t elapsedSeconds, uint64_t fileBytes, int peak);
