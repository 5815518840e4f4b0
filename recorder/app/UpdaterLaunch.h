// The maker's updater QuorToolUpdate, run before the recorder on the days the updater gate allows.
#pragma once

#include <string>

// "<Install_dir of Software\Quortools>/QuorToolUpdate", or empty when the key or the file is
// missing.
std::string FindUpdaterProgram();

// Runs the updater with the recorder's command-line text as its argument and waits for it to
// end. False at once (nothing started) when there is no updater.
bool RunUpdaterIfInstalled(const std::string& commandLine);
