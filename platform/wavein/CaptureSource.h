// The current capture source of this process: what the "wave mapper" records from.
// Until something selects a source, captures record the monitor of the default output and move
// with it when the default output changes; never the server's default source (the microphone).
#pragma once

#include <string>

namespace platform {

// The selected source's server name; empty means following the default output's monitor.
std::string CaptureSourceName();

// Selects a source (empty: follow the default output again) for every later capture and moves
// every open capture of this process to it at once, as a hardware input selector would. Never
// changes the server's default source.
// False when some open capture could not be moved (the selection is kept).
bool SelectCaptureSource(const std::string& sourceName);

} // namespace platform
