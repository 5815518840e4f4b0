// A full disk at a chosen size, for the process that makes one.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace quortest {

// While alive, no file of this process may grow past `bytes`: a write past it fails with EFBIG
// (SIGXFSZ is ignored, so it does not end the test). Restores the limit and the signal's handling.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_Saved{};
    struct sigaction m_OldAction {};
};

} // namespace quortest
