// Recording files over POSIX descriptors: flock for the one-writer rule, O_EXCL for free names.
#include "riff/RecordingFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

int OpenRecordingFile(const std::string& path) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    struct stat info {};
    // A pipe or device chosen as the target is written as it is: there is nothing to truncate.
    bool ok = flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &info) == 0 &&
              (!S_ISREG(info.st_mode) || ftruncate(fd, 0) == 0);
    if (!ok) {
        int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

std::optional<std::string> CreateUnderFreeName(const std::string& folder, const std::string& name) {
    const size_t dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string extension = name.substr(stem.size());
    for (int number = 1; number < 10000; ++number) {
        std::string candidate = number == 1 ? name : stem + "_" + std::to_string(number) + extension;
        int fd = open((folder + "/" + candidate).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd >= 0) {
            close(fd);
            return candidate;
        }
        if (errno != EEXIST)
            return std::nullopt;
    }
    errno = EEXIST;
    return std::nullopt;
}

} // namespace platform
