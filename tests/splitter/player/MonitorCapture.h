// Records what the private server's "speakers" sink plays, from its monitor, as 44.1 kHz stereo.
#pragma once

#include <chrono>
#include <cstdint>
#include <vector>

namespace splittest {

// Captures `span` of the monitor; empty when the record stream could not be opened.
std::vector<int16_t> CaptureMonitor(std::chrono::milliseconds span);

} // namespace splittest
