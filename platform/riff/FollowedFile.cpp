// Following a file through an O_PATH descriptor: it names the file itself, however it is renamed.
#include "riff/FollowedFile.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

FollowedFile::FollowedFile(const std::string& path) : m_Fd(open(path.c_str(), O_PATH | O_CLOEXEC)) {}

FollowedFile::~FollowedFile() {
    if (m_Fd >= 0)
        close(m_Fd);
}

bool FollowedFile::Deleted() const {
    struct stat info {};
    return m_Fd >= 0 && fstat(m_Fd, &info) == 0 && info.st_nlink == 0;
}

bool FollowedFile::IsAt(const std::string& path) const {
    struct stat ours {};
    struct stat there {};
    return m_Fd >= 0 && fstat(m_Fd, &ours) == 0 && stat(path.c_str(), &there) == 0 &&
           ours.st_dev == there.st_dev && ours.st_ino == there.st_ino;
}

std::optional<std::string> FollowedFile::CurrentPath() const {
    if (m_Fd < 0 || Deleted())
        return std::nullopt;
    // The kernel keeps the descriptor's path current across renames and moves within the file system.
    const std::string link = "/proc/self/fd/" + std::to_string(m_Fd);
    char path[4096];
    const ssize_t length = readlink(link.c_str(), path, sizeof path);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof path)
        return std::nullopt;
    return std::string(path, static_cast<size_t>(length));
}

uint64_t FollowedFile::Size() const {
    struct stat info {};
    if (m_Fd < 0 || fstat(m_Fd, &info) != 0)
        return 0;
    return static_cast<uint64_t>(info.st_size);
}

std::optional<uint64_t> FileSizeLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return std::nullopt;
    return static_cast<uint64_t>(limit.rlim_cur);
}

} // namespace platform
