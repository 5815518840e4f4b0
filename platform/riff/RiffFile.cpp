// RIFF chunk writing over a file descriptor with a user-space buffer.
#include "platform/riff/RiffFile.h"
#include "platform/riff/RecordingFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace platform {
namespace {
constexpr size_t kBufferBytes = 64 * 1024;

void PutLE32(char* at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Writes everything or fails; *written (when given) gets the bytes that did reach the file.
bool WriteAll(int fd, const char* data, size_t bytes, off_t offset, bool positioned,
              size_t* written = nullptr) {
    if (written)
        *written = 0;
    while (bytes > 0) {
        ssize_t n = positioned ? pwrite(fd, data, bytes, offset) : write(fd, data, bytes);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        bytes -= static_cast<size_t>(n);
        offset += n;
        if (written)
            *written += static_cast<size_t>(n);
    }
    return true;
}
} // namespace

std::unique_ptr<RiffFile> RiffFile::Create(const std::string& path, uint64_t maxFileBytes) {
    // Exclusive: a second writer of the same recording is refused rather than interleaved.
    int fd = OpenRecordingFile(path);
    if (fd < 0)
        return nullptr;
    return std::unique_ptr<RiffFile>(new RiffFile(fd, std::min(maxFileBytes, kRiffMaxFileBytes)));
}

RiffFile::RiffFile(int fd, uint64_t limit) : m_Fd(fd), m_Limit(limit) {
    m_Buffer.reserve(kBufferBytes);
}

RiffFile::~RiffFile() {
    Close();
}

bool RiffFile::FlushBuffer() {
    if (m_Buffer.empty())
        return !m_Failed;
    size_t written = 0;
    bool ok = WriteAll(m_Fd, m_Buffer.data(), m_Buffer.size(), 0, false, &written);
    if (!ok) {
        // The disk took only part: from now on the file is what really reached it.
        m_Position -= m_Buffer.size() - written;
        m_Failed = true;
    }
    m_Buffer.clear();
    return ok;
}

bool RiffFile::TruncateTo(uint64_t position) {
    if (m_Fd < 0 || position > m_Position)
        return false;
    FlushBuffer();
    if (ftruncate(m_Fd, static_cast<off_t>(position)) != 0)
        return false;
    m_Position = position;
    lseek(m_Fd, static_cast<off_t>(position), SEEK_SET);
    return true;
}

bool RiffFile::PatchSize(uint32_t dataOffset, uint32_t size) {
    char le[4];
    PutLE32(le, size);
    return WriteAll(m_Fd, le, 4, static_cast<off_t>(dataOffset) - 4, true);
}

long RiffFile::Write(const void* data, long bytes) {
    if (m_Fd < 0 || m_Failed || bytes < 0)
        return -1;
    size_t n = static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(bytes), Room()));
    const char* from = static_cast<const char*>(data);
    size_t done = 0;
    while (done < n) {
        size_t take = std::min(n - done, kBufferBytes - m_Buffer.size());
        m_Buffer.insert(m_Buffer.end(), from + done, from + done + take);
        done += take;
        // Counted as it is buffered: a failed flush takes back exactly what did not reach the disk.
        m_Position += take;
        if (m_Buffer.size() == kBufferBytes && !FlushBuffer())
            return -1;
    }
    return static_cast<long>(n);
}

bool RiffFile::CreateChunk(MMCKINFO* ck, uint32_t flags) {
    char header[12];
    size_t length = 8;
    if (flags & MMIO_CREATERIFF)
        ck->ckid = MakeFourCC('R', 'I', 'F', 'F');
    else if (flags & MMIO_CREATELIST)
        ck->ckid = MakeFourCC('L', 'I', 'S', 'T');
    PutLE32(header, ck->ckid);
    PutLE32(header + 4, ck->cksize);
    if (flags & (MMIO_CREATERIFF | MMIO_CREATELIST)) {
        PutLE32(header + 8, ck->fccType);
        length = 12;
    }
    if (Room() < length + 1)
        return false;
    if (Write(header, static_cast<long>(length)) != static_cast<long>(length))
        return false;
    // The data of a RIFF or LIST chunk starts at its form type, which the size counts.
    ck->dwDataOffset = static_cast<uint32_t>(m_Position - (length - 8));
    ck->dwFlags = MMIO_DIRTY;
    m_OpenChunks.push_back(ck->dwDataOffset);
    return true;
}

bool RiffFile::Ascend(MMCKINFO* ck) {
    if (m_Fd < 0 || m_OpenChunks.empty() || m_OpenChunks.back() != ck->dwDataOffset)
        return false;
    FlushBuffer();
    uint64_t size = m_Position - ck->dwDataOffset;
    if (size & 1) {
        const char pad = 0;
        // The pad may use the byte the limit keeps for it; when even that cannot be written
        // (disk full), the chunk gives up its last byte instead, so the file stays well formed.
        ++m_Limit;
        bool padded = !m_Failed && Write(&pad, 1) == 1 && FlushBuffer();
        --m_Limit;
        if (!padded && TruncateTo(ck->dwDataOffset + size - 1))
            size -= 1;
    }
    m_OpenChunks.pop_back();
    ck->cksize = static_cast<uint32_t>(size);
    ck->dwFlags = 0;
    return PatchSize(ck->dwDataOffset, ck->cksize);
}

bool RiffFile::FlushSizes() {
    if (m_Fd < 0 || !FlushBuffer())
        return false;
    bool ok = true;
    for (uint32_t offset : m_OpenChunks)
        ok = PatchSize(offset, static_cast<uint32_t>(m_Position - offset)) && ok;
    return ok;
}

bool RiffFile::Close() {
    if (m_Fd < 0)
        return true;
    bool ok = FlushBuffer();
    ok = (close(m_Fd) == 0) && ok;
    m_Fd = -1;
    return ok;
}

} // namespace platform
