// The quor-reg commands: get, set and list values of a key of HKEY_CURRENT_USER.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitMissing = 1; // get or list: no such key or value
constexpr int kExitUsage = 2;
constexpr int kExitFailed = 3; // the hive could not be read or written

// Runs one command (the arguments after the program name); prints values to `out`, errors to `err`.
int RunRegCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
