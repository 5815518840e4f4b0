// The current capture source of this process: what the "wave mapper" records from.
// Until something selects a source, captures follow the sound server's default source.
#pragma once

#include <string>

namespace platform {

// The selected source's server name; empty means the server's default source.
std::string CaptureSourceName();

// Selects a source for every later capture and moves every open capture of this process to it
// at once, as a hardware input selector would. Never changes the server's default source.
// False when some open capture could not be moved (the selection is kept).
bool SelectCaptureSource(const std::string& sourceName);

} // namespace platform
