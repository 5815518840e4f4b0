// mkstemp-like creation with an O_EXCL open, so the mode follows the umask as the converter's
// own file would; fsync before and after the rename so that a crash leaves the old or the new
// file, never a torn one. The decoder judges whether the converter wrote the whole range.
#include "splitter/cut/CutOutput.h"

#include "platform/player/Mp3Decoder.h"
#include "splitter/media/SplitContext.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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
    if (!m_Temp.empty() && !m_Committed)
        ::unlink(m_Temp.c_str());
}

bool CutOutput::Create(std::error_code& error) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = ".quorsplit-";
        for (int i = 0; i < 8; ++i)
            name += kLetters[pick(random)];
        // The converter picks the format by the extension.
        const std::string path = FolderOf(m_Target) + "/" + name + ".mp3";
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            m_Temp = path;
            return true;
        }
        if (errno != EEXIST) {
            error.assign(errno, std::generic_category());
            return false;
        }
    }
    error = std::make_error_code(std::errc::file_exists);
    return false;
}

bool CutOutput::Commit(std::error_code& error) {
    if (m_Temp.empty() || m_Committed) {
        error = std::make_error_code(std::errc::invalid_argument);
        return false;
    }
    if (!SyncPath(m_Temp, O_RDONLY) || ::rename(m_Temp.c_str(), m_Target.c_str()) != 0) {
        error.assign(errno, std::generic_category());
        return false;
    }
    m_Committed = true;
    SyncPath(FolderOf(m_Target), O_RDONLY | O_DIRECTORY);
    return true;
}

long LongestFileName(const std::string& folder) {
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? limit : NAME_MAX;
}

bool Replaceable(const std::string& target) {
    std::error_code ec;
    return !std::filesystem::is_directory(target, ec) && ::access(FolderOf(target).c_str(), W_OK) == 0;
}

bool CutOutputComplete(const std::string& outputPath, long durationSec) {
    std::error_code ec;
    if (durationSec <= 0 || !std::filesystem::is_regular_file(outputPath, ec) ||
        std::filesystem::file_size(outputPath, ec) == 0)
        return false;
    platform::Mp3Decoder decoder;
    if (!decoder.Open(outputPath))
        return false;
    // The exact decoded length; a little slack for the last frame's rounding.
    return decoder.LengthMs() >= durationSec * 1000 - 150;
}
