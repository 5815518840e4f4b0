// Forking the test's sound-server daemons.
#include "tests/support/pulse/ChildProcess.h"

#include "tests/support/Eventually.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quortest {

pid_t SpawnDaemon(const std::vector<std::string>& args, const Environment& environment,
                  const std::vector<std::string>& unset, const std::string& logPath) {
    // Everything the child needs is prepared before the fork.
    std::vector<std::string> owned = args;
    std::vector<char*> argv;
    for (auto& a : owned)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        // A test killed with SIGKILL must not leave its server running.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        for (const auto& name : unset)
            unsetenv(name.c_str());
        for (const auto& [name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        const int null = open("/dev/null", O_RDONLY);
        dup2(null, 0);
        dup2(log, 1);
        dup2(log, 2);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    return pid;
}

bool DaemonAlive(pid_t pid) {
    int status;
    return pid > 0 && waitpid(pid, &status, WNOHANG) == 0;
}

void StopDaemon(pid_t pid) {
    if (pid <= 0)
        return;
    kill(pid, SIGTERM);
    int status;
    if (!Eventually([&] { return waitpid(pid, &status, WNOHANG) != 0; }, std::chrono::seconds(2))) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
}

bool CanConnect(const std::string& socketPath) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socketPath.c_str());
    const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(fd);
    return ok;
}

} // namespace quortest
