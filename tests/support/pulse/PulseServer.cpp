// Starting and stopping the private test server.
#include "support/pulse/PulseServer.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace quortest {
namespace {

bool CanConnect(const std::string& socketPath) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::snprintf(addr.sun_path, sizeof addr.sun_path, "%s", socketPath.c_str());
    bool ok = connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    close(fd);
    return ok;
}

} // namespace

PulseServer::PulseServer() {
    char pattern[] = "/tmp/paXXXXXX"; // short: socket paths over 107 bytes are cut silently
    if (!mkdtemp(pattern))
        throw std::runtime_error("mkdtemp failed");
    m_Dir = pattern;
    for (const char* sub : {"/runtime", "/state", "/home"})
        std::filesystem::create_directory(m_Dir + sub);
    std::filesystem::permissions(m_Dir + "/runtime", std::filesystem::perms::owner_all);
    std::ofstream(m_Dir + "/client.conf") << "autospawn = no\n";
    Launch();
}

void PulseServer::Kill() {
    if (m_Pid <= 0)
        return;
    kill(m_Pid, SIGKILL);
    int status;
    waitpid(m_Pid, &status, 0);
    m_Pid = -1;
}

void PulseServer::Restart() {
    Kill();
    Launch();
}

void PulseServer::Launch() {
    const std::string socket = m_Dir + "/native";
    std::vector<std::string> args = {
        "pulseaudio",
        "-n",
        "--daemonize=no",
        "--use-pid-file=no",
        "--exit-idle-time=-1",
        "--disallow-exit",
        "--log-target=stderr",
        "-L",
        "module-null-sink sink_name=speakers sink_properties=device.description=Speakers",
        "-L",
        "module-native-protocol-unix socket=" + socket + " auth-anonymous=1"};

    pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        setenv("XDG_RUNTIME_DIR", (m_Dir + "/runtime").c_str(), 1);
        setenv("PULSE_RUNTIME_PATH", (m_Dir + "/runtime").c_str(), 1);
        setenv("PULSE_STATE_PATH", (m_Dir + "/state").c_str(), 1);
        setenv("HOME", (m_Dir + "/home").c_str(), 1);
        unsetenv("PULSE_SERVER");
        int log = open((m_Dir + "/server.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int null = open("/dev/null", O_RDONLY);
        dup2(null, 0);
        dup2(log, 1);
        dup2(log, 2);
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp("pulseaudio", argv.data());
        _exit(127);
    }
    m_Pid = pid;

    setenv("PULSE_SERVER", ("unix:" + socket).c_str(), 1);
    setenv("PULSE_CLIENTCONFIG", (m_Dir + "/client.conf").c_str(), 1);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!CanConnect(socket)) {
        int status;
        if (waitpid(m_Pid, &status, WNOHANG) == m_Pid) {
            m_Pid = -1;
            throw std::runtime_error("pulseaudio exited: " + Log());
        }
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("pulseaudio did not start: " + Log());
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

PulseServer::~PulseServer() {
    if (m_Pid > 0) {
        kill(m_Pid, SIGTERM);
        int status;
        for (int i = 0; i < 200 && waitpid(m_Pid, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (waitpid(m_Pid, &status, WNOHANG) == 0) {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, &status, 0);
        }
    }
    std::error_code ec;
    std::filesystem::remove_all(m_Dir, ec);
}

std::string PulseServer::Pactl(const std::string& args, bool* ok) const {
    std::string command = "pactl " + args + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    if (!pipe) {
        if (ok)
            *ok = false;
        return out;
    }
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, pipe.get())) > 0)
        out.append(buf, n);
    int status = pclose(pipe.release());
    if (ok)
        *ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return out;
}

void PulseServer::WakeSink() const {
    Pactl("suspend-sink speakers 1");
    Pactl("suspend-sink speakers 0");
}

std::string PulseServer::Log() const {
    std::ifstream in(m_Dir + "/server.log");
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace quortest
