// mkstemp-like creation with an O_EXCL open, so the mode follows the umask as the converter's
// own file would; fsync before and after the rename so that a crash leaves the old or the new
// file, never a torn one. The temporary file is flock()ed while its cut runs, so a later start
// tells one that a killed cut left behind from one in use (also by another QuorSplit). The
// decoder judges whether the converter wrote the whole range.
#include "splitter/cut/CutOutput.h"

#include "platform/player/Mp3Decoder.h"
#include "splitter/media/SplitContext.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr char kTempPrefix[] = ".quorsplit-";
constexpr size_t kTempLetters = 8;
constexpr char kTempSuffix[] = ".mp3"; // the converter picks the format by the extension

bool IsTempName(const std::string& name) {
    return name.size() == sizeof kTempPrefix - 1 + kTempLetters + sizeof kTempSuffix - 1 &&
           name.starts_with(kTempPrefix) && name.ends_with(kTempSuffix);
}

// With the lock held: whether path still names the file open as fd (nobody removed or replaced
// it before the lock was taken).
bool StillNamed(int fd, const std::string& path) {
    struct stat held {
    }, named{};
    return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && S_ISREG(held.st_mode) &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

std::string FolderOf(const std::string& path) {
    const std::string folder = FolderPart(path);
    return folder.empty() ? std::string(path.rfind('/') == 0 ? "/" : ".") : folder;
}

bool SyncPath(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

} // namespace

CutOutput::CutOutput(std::string target) : m_Target(std::move(target)) {}

CutOutput::~CutOutput() {
    Discard();
}

void CutOutput::Discard() {
    if (!m_Temp.empty() && !m_Committed)
        ::unlink(m_Temp.c_str());
    if (m_Fd >= 0)
        ::close(m_Fd);
    m_Fd = -1;
    m_Temp.clear();
}

bool CutOutput::Create(std::error_code& error) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = kTempPrefix;
        for (size_t i = 0; i < kTempLetters; ++i)
            name += kLetters[pick(random)];
        const std::string path = FolderOf(m_Target) + "/" + name + kTempSuffix;
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            error.assign(errno, std::generic_category());
            return false;
        }
        if (fd < 0)
            continue;
        // Another start may have taken the new file for a left-behind one before the lock: then
        // its name is gone, and another is tried.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(fd, path)) {
            m_Fd = fd;
            m_Temp = path;
            return true;
        }
        ::close(fd);
    }
    error = std::make_error_code(std::errc::file_exists);
    return false;
}

bool CutOutput::Commit(std::error_code& error) {
    if (m_Temp.empty() || m_Committed) {
        error = std::make_error_code(std::errc::invalid_argument);
        return false;
    }
    // The converter wrote through its own descriptor; fsync flushes the file, whoever wrote it.
    if (::fsync(m_Fd) != 0 || ::rename(m_Temp.c_str(), m_Target.c_str()) != 0) {
        error.assign(errno, std::generic_category());
        return false;
    }
    m_Committed = true;
    SyncPath(FolderOf(m_Target), O_RDONLY | O_DIRECTORY);
    return true;
}

int RemoveStaleCutFiles(const std::string& folder) {
    int removed = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string path = it->path().string();
        if (!IsTempName(it->path().filename().string()))
            continue;
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        // Locks go with their process: a file that no running cut holds was left behind.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(fd, path) && ::unlink(path.c_str()) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
}

long LongestFileName(const std::string& folder) {
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? limit : NAME_MAX;
}

bool Replaceable(const std::string& target) {
    std::error_code ec;
    return !std::filesystem::is_directory(target, ec) && ::access(FolderOf(target).c_str(), W_OK) == 0;
}

std::chrono::milliseconds ExpectedCut(const std::string& sourcePath, long startSec, long durationSec,
                                      bool toTheEnd) {
    const std::chrono::milliseconds range = std::chrono::seconds(durationSec);
    platform::Mp3Decoder source;
    if (!toTheEnd || !source.Open(sourcePath))
        return range;
    const std::chrono::milliseconds held =
        std::chrono::milliseconds(source.LengthMs()) - std::chrono::seconds(startSec);
    return std::clamp(held, std::chrono::milliseconds(0), range);
}

bool CutOutputComplete(const std::string& outputPath, std::chrono::milliseconds expected) {
    std::error_code ec;
    if (expected.count() <= 0 || !std::filesystem::is_regular_file(outputPath, ec) ||
        std::filesystem::file_size(outputPath, ec) == 0)
        return false;
    platform::Mp3Decoder decoder;
    if (!decoder.Open(outputPath))
        return false;
    // The exact decoded length; a little slack for the last frame's rounding.
    return std::chrono::milliseconds(decoder.LengthMs()) >= expected - std::chrono::milliseconds(150);
}
