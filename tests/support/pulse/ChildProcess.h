// Sound-server daemons for tests: started with their own environment and log file, killed by the
// kernel when the test process dies, stopped with SIGTERM (SIGKILL after a grace period).
#pragma once

#include <string>
#include <sys/types.h>
#include <utility>
#include <vector>

namespace quortest {

using Environment = std::vector<std::pair<std::string, std::string>>;

// Starts args[0] (looked up on PATH) with this process's environment less the variables in
// `unset`, plus `environment`, standard input from /dev/null and both outputs appended to `logPath`.
pid_t SpawnDaemon(const std::vector<std::string>& args, const Environment& environment,
                  const std::vector<std::string>& unset, const std::string& logPath);
// SIGTERM, then SIGKILL when it has not ended within two seconds; reaps it.
void StopDaemon(pid_t pid);
// True while the process has not ended (reaps it when it has).
bool DaemonAlive(pid_t pid);
// True once a client can connect to the Unix socket.
bool CanConnect(const std::string& socketPath);

} // namespace quortest
