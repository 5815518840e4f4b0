// Buffered RIFF file writing with chunk bookkeeping, as the classic mmio functions do it:
// create RIFF/LIST and plain chunks, write, ascend (patch the size, pad an odd chunk), close.
// Adds what a recorder needs on top: the sizes of the open chunks can be made current on disk
// at any time, so a recording whose program dies still opens; and the file never outgrows the
// 32-bit sizes of the format.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

using FOURCC = uint32_t;
constexpr FOURCC MakeFourCC(char a, char b, char c, char d) {
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           (static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8) |
           (static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16) |
           (static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24);
}

struct MMCKINFO {
    FOURCC ckid;
    uint32_t cksize;
    FOURCC fccType;
    uint32_t dwDataOffset;
    uint32_t dwFlags;
};

constexpr uint32_t MMIO_CREATERIFF = 0x0020;
constexpr uint32_t MMIO_CREATELIST = 0x0040;
constexpr uint32_t MMIO_DIRTY = 0x10000000;

// Largest file the 32-bit RIFF size allows, keeping room for a pad byte.
constexpr uint64_t kRiffMaxFileBytes = 0xFFFFFFFEull;

class RiffFile {
public:
    // Creates (truncating) the file for exclusive writing; null when it cannot be created.
    static std::unique_ptr<RiffFile> Create(const std::string& path,
                                            uint64_t maxFileBytes = kRiffMaxFileBytes);
    ~RiffFile();
    RiffFile(const RiffFile&) = delete;
    RiffFile& operator=(const RiffFile&) = delete;

    // Writes the chunk header at the current position: id (and form type for RIFF/LIST) and a
    // provisional size; ck->dwDataOffset gets the data start. The chunk stays open until Ascend.
    bool CreateChunk(MMCKINFO* ck, uint32_t flags);
    // Bytes written, fewer when the disk refuses or the size limit is reached; -1 on error.
    long Write(const void* data, long bytes);
    // Closes the innermost open chunk ck: writes its true size and pads it to an even length.
    bool Ascend(MMCKINFO* ck);
    // Writes the current sizes of every open chunk and hands the buffered bytes to the system.
    bool FlushSizes();
    // Cuts the file back to position (no further than its end), e.g. to a whole frame after a
    // failed write.
    bool TruncateTo(uint64_t position);
    // Flushes and closes; open chunks keep the sizes last written.
    bool Close();

    uint64_t Position() const { return m_Position; }
    // Bytes that may still be written before the size limit.
    uint64_t Room() const { return m_Limit > m_Position ? m_Limit - m_Position : 0; }
    bool Failed() const { return m_Failed; }

private:
    RiffFile(int fd, uint64_t limit);
    bool FlushBuffer();
    bool PatchSize(uint32_t dataOffset, uint32_t size);

    int m_Fd;
    uint64_t m_Limit;
    uint64_t m_Position = 0; // logical end, including buffered bytes
    std::vector<char> m_Buffer;
    std::vector<uint32_t> m_OpenChunks; // data offsets of the open chunks, outermost first
    bool m_Failed = false;
};

} // namespace platform
