// One run of quor-record: options to settings, the source, the file, the recording and its end.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Runs the command (the arguments after the program name) and returns its exit code. SIGINT,
// SIGTERM and SIGHUP must already be blocked in every thread: the run waits for them itself.
int RunQuorRecord(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
