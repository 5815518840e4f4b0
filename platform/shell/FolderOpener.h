// Opening a folder in the desktop's file manager, as the shell's "open" verb on a folder would.
#pragma once

#include <string>

namespace platform {

// Asks the desktop to show the folder; false when it has no handler or the folder is missing.
bool OpenFolder(const std::string& folder);

} // namespace platform
