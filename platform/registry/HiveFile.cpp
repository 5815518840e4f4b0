// Locked, atomic replacement of the hive file, and the setting aside of files that do not parse.
#include "registry/HiveFile.h"

#include "registry/HiveReadCache.h"
#include "registry/HiveText.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

namespace platform {

namespace {

LSTATUS StatusFromErrno(int error, LSTATUS otherwise) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return ERROR_FILE_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
        return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT:
        return ERROR_DISK_FULL;
    default:
        return otherwise;
    }
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    ~FileDescriptor() { Close(); }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    void Reset(int fd) {
        Close();
        fd_ = fd;
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Returns 0 or the errno of close(), which can report a delayed write error.
    int Close() {
        int error = 0;
        if (fd_ >= 0 && ::close(fd_) != 0)
            error = errno;
        fd_ = -1;
        return error;
    }

private:
    int fd_;
};

// No hive of ours comes near this; a larger file is someone else's and is not read whole.
constexpr size_t kMaxHiveBytes = 16 * 1024 * 1024;

// Returns 0 or an errno value; EFBIG for a file past kMaxHiveBytes, EISDIR for a folder, EINVAL
// for anything else that is not a regular file. `stamp` is the file's as it was opened.
int ReadWholeFile(const std::filesystem::path& file, std::string* text, FileStamp* stamp) {
    // Without blocking: a pipe or a device put in the hive's place would hang every reader.
    FileDescriptor fd(::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.valid())
        return errno;
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    *stamp = FileStamp::Of(info);
    text->clear();
    char chunk[16384];
    while (true) {
        const ssize_t got = ::read(fd.get(), chunk, sizeof chunk);
        if (got == 0)
            return 0;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        text->append(chunk, static_cast<size_t>(got));
        if (text->size() > kMaxHiveBytes)
            return EFBIG;
    }
}

int WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<size_t>(put);
    }
    return 0;
}

std::filesystem::path LockPath(const std::filesystem::path& file) {
    return file.string() + ".lock";
}

std::string TempPrefix(const std::filesystem::path& file) {
    return file.filename().string() + ".tmp-";
}

// Moves `from` to `to` unless `to` exists; returns 0 or an errno value.
int MoveNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // File systems without RENAME_NOREPLACE: a hard link refuses an existing name as well.
    if (::link(from.c_str(), to.c_str()) != 0)
        return errno;
    ::unlink(from.c_str());
    return 0;
}

std::mutex g_ObserverLock;
SetAsideObserver g_Observer;

void ReportSetAside(const std::filesystem::path& file, const std::filesystem::path& aside) {
    std::lock_guard<std::mutex> guard(g_ObserverLock);
    if (g_Observer)
        g_Observer(file, aside);
}

// Keeps a broken hive under a new name, never replacing an earlier one, so nothing is lost.
void SetAside(const std::filesystem::path& file) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    const std::string base = file.string() + ".broken-" + stamp;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const std::string aside = attempt == 0 ? base : base + "-" + std::to_string(attempt);
        const int error = MoveNoReplace(file, aside);
        if (error == 0)
            ReportSetAside(file, aside);
        if (error != EEXIST)
            return;
    }
}

// The writers' lock; released when the descriptor closes.
class WriterLock {
public:
    LSTATUS Acquire(const std::filesystem::path& file) {
        fd_.Reset(::open(LockPath(file).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600));
        if (!fd_.valid())
            return StatusFromErrno(errno, ERROR_WRITE_FAULT);
        while (::flock(fd_.get(), LOCK_EX) != 0) {
            if (errno != EINTR)
                return StatusFromErrno(errno, ERROR_WRITE_FAULT);
        }
        return ERROR_SUCCESS;
    }

private:
    FileDescriptor fd_;
};

// Under the lock: a temporary file left by a writer that was killed is no longer anyone's.
void RemoveStaleTemporaries(const std::filesystem::path& file) {
    std::error_code ec;
    const std::string prefix = TempPrefix(file);
    for (const auto& entry : std::filesystem::directory_iterator(file.parent_path(), ec)) {
        if (entry.path().filename().string().starts_with(prefix))
            std::filesystem::remove(entry.path(), ec);
    }
}

enum class ReadResult { Parsed, Missing, Broken, Failed };

HiveReadCache& TheReadCache() {
    static HiveReadCache cache;
    return cache;
}

// Fills `hive` (empty unless Parsed); `status` tells why when Failed. A parsed hive is kept for
// the next reader while the file stays as it is.
ReadResult ReadAndParse(const std::filesystem::path& file, Hive* hive, LSTATUS* status) {
    *hive = Hive{};
    std::string text;
    FileStamp stamp;
    timespec readAt{};
    clock_gettime(CLOCK_REALTIME, &readAt);
    const int error = ReadWholeFile(file, &text, &stamp);
    // Too large, or a pipe or device in its place: no hive of ours, set aside. A folder there is
    // refused as an error that reads as empty and lets no write replace it.
    if (error == EFBIG || error == EINVAL)
        return ReadResult::Broken;
    if (error != 0) {
        *status = StatusFromErrno(error, ERROR_READ_FAULT);
        return error == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    }
    auto parsed = ParseHiveText(text);
    if (!parsed)
        return ReadResult::Broken;
    *hive = std::move(*parsed);
    TheReadCache().Keep(file, stamp, *hive, readAt);
    return ReadResult::Parsed;
}

// With the lock held: the current hive, a broken file set aside first.
LSTATUS ReadLocked(const std::filesystem::path& file, Hive* hive) {
    LSTATUS status = ERROR_SUCCESS;
    const ReadResult result = ReadAndParse(file, hive, &status);
    if (result == ReadResult::Broken)
        SetAside(file);
    return result == ReadResult::Failed ? status : ERROR_SUCCESS;
}

// Creates the missing folders of `folder` with mode 0700, as the XDG base-directory rules ask.
int MakeFolders(const std::filesystem::path& folder) {
    std::filesystem::path partial;
    for (const auto& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return errno;
    }
    return 0;
}

LSTATUS ReplaceFile(const std::filesystem::path& file, const std::string& text) {
    std::string name = (file.parent_path() / (TempPrefix(file) + "XXXXXX")).string();
    FileDescriptor fd(::mkostemp(name.data(), O_CLOEXEC));
    if (!fd.valid())
        return StatusFromErrno(errno, ERROR_WRITE_FAULT);
    int error = WriteAll(fd.get(), text);
    if (error == 0 && ::fsync(fd.get()) != 0)
        error = errno;
    if (const int closeError = fd.Close(); error == 0)
        error = closeError;
    if (error == 0 && ::rename(name.c_str(), file.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(name.c_str());
        return StatusFromErrno(error, ERROR_WRITE_FAULT);
    }
    // The rename itself must reach the disk too, or a power cut could bring back the old file.
    FileDescriptor folder(::open(file.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid())
        ::fsync(folder.get());
    return ERROR_SUCCESS;
}

} // namespace

void SetHiveSetAsideObserver(SetAsideObserver observer) {
    std::lock_guard<std::mutex> guard(g_ObserverLock);
    g_Observer = std::move(observer);
}

LSTATUS ReadHiveFile(const std::filesystem::path& file, Hive* hive) {
    struct stat info {};
    if (::stat(file.c_str(), &info) == 0) {
        if (std::optional<Hive> kept = TheReadCache().Find(file, FileStamp::Of(info))) {
            *hive = std::move(*kept);
            return ERROR_SUCCESS;
        }
    }
    LSTATUS status = ERROR_SUCCESS;
    const ReadResult result = ReadAndParse(file, hive, &status);
    if (result != ReadResult::Broken)
        return result == ReadResult::Failed ? status : ERROR_SUCCESS;
    // Check again under the lock: a writer may have replaced the file meanwhile.
    WriterLock lock;
    if (lock.Acquire(file) != ERROR_SUCCESS)
        return ERROR_SUCCESS; // cannot set it aside (read-only folder): still read as empty
    return ReadLocked(file, hive);
}

LSTATUS ChangeHiveFile(const std::filesystem::path& file, const std::function<bool(Hive&)>& change) {
    if (const int error = MakeFolders(file.parent_path()); error != 0)
        return StatusFromErrno(error, ERROR_WRITE_FAULT);
    WriterLock lock;
    if (const LSTATUS status = lock.Acquire(file); status != ERROR_SUCCESS)
        return status;
    RemoveStaleTemporaries(file);
    Hive hive;
    if (const LSTATUS status = ReadLocked(file, &hive); status != ERROR_SUCCESS)
        return status;
    if (!change(hive))
        return ERROR_SUCCESS;
    // The replacement has a new inode and times anyway; forgetting says so outright.
    TheReadCache().Forget();
    return ReplaceFile(file, FormatHiveText(hive));
}

} // namespace platform
