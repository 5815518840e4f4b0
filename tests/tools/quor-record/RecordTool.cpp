// Starting quor-record, collecting its output, waiting for it.
#include "tests/tools/quor-record/RecordTool.h"

#include "tests/support/Eventually.h"

#include <array>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quortest {

RecordTool::RecordTool(const std::vector<std::string>& args, uint64_t fileSizeLimit) {
    int out[2], err[2];
    if (pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        return;
    m_Pid = fork();
    if (m_Pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        if (fileSizeLimit) {
            const rlimit limit{fileSizeLimit, fileSizeLimit};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        const std::string program = std::string(QUOR_BIN_DIR) + "/quor-record";
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& arg : args)
            argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    close(out[1]);
    close(err[1]);
    m_OutFd = out[0];
    m_ErrFd = err[0];
    fcntl(m_OutFd, F_SETFL, O_NONBLOCK);
    fcntl(m_ErrFd, F_SETFL, O_NONBLOCK);
}

RecordTool::~RecordTool() {
    if (m_Pid > 0) {
        kill(m_Pid, SIGKILL);
        waitpid(m_Pid, nullptr, 0);
    }
    for (int fd : {m_OutFd, m_ErrFd})
        if (fd >= 0)
            close(fd);
}

void RecordTool::Drain() {
    std::array<char, 4096> chunk;
    for (auto [fd, text] : {std::pair{m_OutFd, &m_Out}, std::pair{m_ErrFd, &m_Err}})
        for (ssize_t got; fd >= 0 && (got = read(fd, chunk.data(), chunk.size())) > 0;)
            text->append(chunk.data(), static_cast<size_t>(got));
}

int RecordTool::Wait(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (m_Pid > 0) {
        Drain();
        int status = 0;
        if (waitpid(m_Pid, &status, WNOHANG) == m_Pid) {
            m_Pid = -1;
            Drain();
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (std::chrono::steady_clock::now() > deadline)
            return -1;
        // Wakes on output or after a short while to look at the child again.
        pollfd fds[2] = {{m_OutFd, POLLIN, 0}, {m_ErrFd, POLLIN, 0}};
        poll(fds, 2, 20);
    }
    return -1;
}

int RunRecordTool(const std::vector<std::string>& args, std::string* out, std::string* err) {
    RecordTool tool(args);
    const int code = tool.Wait();
    if (out)
        *out = tool.Out();
    if (err)
        *err = tool.Err();
    return code;
}

bool WaitForFileSize(const std::filesystem::path& file, uintmax_t bytes, std::chrono::milliseconds limit) {
    return Eventually(
        [&] {
            std::error_code ec;
            return std::filesystem::file_size(file, ec) >= bytes && !ec;
        },
        limit);
}

} // namespace quortest
