// Starting a program and waiting for it to end, as ShellExecuteEx followed by a wait would.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Starts `program` with the argument list (never through a shell) and waits, without a time
// limit, until it has ended. False at once when it is not an executable file or cannot start.
bool RunAndWait(const std::string& program, const std::vector<std::string>& arguments);

} // namespace platform
