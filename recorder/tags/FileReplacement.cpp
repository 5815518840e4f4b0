// Copy, change, flush, rename.
#include "recorder/tags/FileReplacement.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tags {
namespace {

class Fd {
public:
    explicit Fd(int fd) : m_Fd(fd) {}
    ~Fd() { Close(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_Fd; }
    bool valid() const { return m_Fd >= 0; }
    bool Close() {
        const bool ok = m_Fd < 0 || ::close(m_Fd) == 0;
        m_Fd = -1;
        return ok;
    }

private:
    int m_Fd;
};

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool CopyContents(int from, int to) {
    static constexpr size_t kChunk = 1 << 20;
    std::string buffer(kChunk, '\0');
    for (;;) {
        const ssize_t n = ::read(from, buffer.data(), kChunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        if (!WriteAll(to, buffer.data(), static_cast<size_t>(n)))
            return false;
    }
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

} // namespace

FileReplacement::~FileReplacement() {
    Discard();
}

void FileReplacement::Discard() {
    if (!m_Copy.empty())
        ::unlink(m_Copy.c_str());
    m_Copy.clear();
}

bool FileReplacement::Begin(const std::string& path) {
    if (!m_Copy.empty() || !m_Target.empty())
        return false;
    char resolved[PATH_MAX];
    if (!::realpath(path.c_str(), resolved))
        return false;
    m_Target = resolved;

    Fd source(::open(m_Target.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info;
    if (!source.valid() || ::fstat(source.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return false;
    // The rename would replace a file that we may not write; ask the file itself first.
    Fd writable(::open(m_Target.c_str(), O_WRONLY | O_CLOEXEC));
    if (!writable.valid())
        return false;
    writable.Close();

    const size_t slash = m_Target.rfind('/');
    std::string name = m_Target.substr(0, slash + 1) + "." + m_Target.substr(slash + 1) + ".tag-XXXXXX";
    Fd copy(::mkostemp(name.data(), O_CLOEXEC));
    if (!copy.valid())
        return false;
    m_Copy = name;
    // Owner and group stay where we may set them (root editing a user's file); a user's own copy is
    // theirs already, so a refusal changes nothing.
    [[maybe_unused]] const int owned = ::fchown(copy.get(), info.st_uid, info.st_gid);
    m_Mode = info.st_mode & 07777; // given at the commit: until then the copy must stay writable
    if (!CopyContents(source.get(), copy.get()) || !copy.Close()) {
        Discard();
        return false;
    }
    return true;
}

bool FileReplacement::Commit() {
    if (m_Copy.empty())
        return false;
    Fd copy(::open(m_Copy.c_str(), O_RDONLY | O_CLOEXEC));
    // A write that failed late (a full disk) shows up here at the latest.
    if (!copy.valid() || ::fchmod(copy.get(), m_Mode) != 0 || ::fsync(copy.get()) != 0 || !copy.Close() ||
        ::rename(m_Copy.c_str(), m_Target.c_str()) != 0) {
        Discard();
        return false;
    }
    m_Copy.clear();
    // The rename must reach the disk too, or a power cut could bring back the old file.
    Fd folder(::open(FolderOf(m_Target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.valid())
        ::fsync(folder.get());
    return true;
}

} // namespace tags
