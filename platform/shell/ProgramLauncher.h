// Starting other programs as the shell would: found on PATH (or by path), started detached with
// an argument list, never through a shell, so no argument is ever re-parsed.
#pragma once

#include <string>
#include <vector>

namespace platform {

// The full path of an executable program: `name` itself when it holds a '/', else its place on
// PATH. Empty when there is none.
std::string FindProgram(const std::string& name);

// Starts the program detached from this process; false when it could not be started.
bool StartDetached(const std::string& program, const std::vector<std::string>& arguments);

} // namespace platform
