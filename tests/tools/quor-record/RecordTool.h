// quor-record run as a child process, as a script or a timer would run it.
#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace quortest {

class RecordTool {
public:
    // Starts build/bin/quor-record with the arguments (no shell), stdout and stderr to pipes.
    // fileSizeLimit: bytes any file of the child may grow to (0: no limit), a stand-in for a full disk.
    explicit RecordTool(const std::vector<std::string>& args, uint64_t fileSizeLimit = 0);
    ~RecordTool(); // kills a child that is still running

    pid_t Pid() const { return m_Pid; }
    // Waits for the exit; -1 when it did not end within the time (the child is then killed).
    int Wait(std::chrono::milliseconds limit = std::chrono::seconds(30));
    const std::string& Out() const { return m_Out; }
    const std::string& Err() const { return m_Err; }

private:
    void Drain();

    pid_t m_Pid = -1;
    int m_OutFd = -1;
    int m_ErrFd = -1;
    std::string m_Out, m_Err;
};

// Runs to the end and returns the exit code.
int RunRecordTool(const std::vector<std::string>& args, std::string* out = nullptr,
                  std::string* err = nullptr);

// Waits until the file exists and holds at least `bytes`; false after `limit`.
bool WaitForFileSize(const std::filesystem::path& file, uintmax_t bytes,
                     std::chrono::milliseconds limit = std::chrono::seconds(20));

} // namespace quortest
