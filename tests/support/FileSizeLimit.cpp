// The soft file-size limit as a stand-in for a full disk.
#include "tests/support/FileSizeLimit.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

namespace quortest {

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    if (getrlimit(RLIMIT_FSIZE, &m_Saved) != 0)
        throw std::runtime_error(std::string("getrlimit: ") + std::strerror(errno));
    rlimit small = m_Saved;
    small.rlim_cur = bytes;
    sigaction(SIGXFSZ, &ignore, &m_OldAction);
    if (setrlimit(RLIMIT_FSIZE, &small) != 0) {
        const int error = errno;
        sigaction(SIGXFSZ, &m_OldAction, nullptr);
        throw std::runtime_error(std::string("cannot limit file sizes: ") + std::strerror(error));
    }
}

FileSizeLimit::~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &m_Saved);
    sigaction(SIGXFSZ, &m_OldAction, nullptr);
}

} // namespace quortest
