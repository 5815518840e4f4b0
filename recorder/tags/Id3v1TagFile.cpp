// Reading and writing the ID3v1 record without ever touching the audio before it.
#include "recorder/tags/Id3v1TagFile.h"

#include "recorder/tags/Cp949.h"

#include <cerrno>
#include <cstring>

namespace {
constexpr int64_t kRecordBytes = 128;

std::string Field(const char* at, size_t bytes) {
    size_t length = strnlen(at, bytes);
    return tags::Cp949ToUtf8(std::string(at, length));
}
} // namespace

int Id3v1TagFile::Read(const std::string& path) {
    Close();
    FILE* file = std::fopen(path.c_str(), "rb+");
    if (!file)
        return -1;
    m_File = file;
    m_FileLength = -1;
    if (fseeko(m_File, 0, SEEK_END) != 0)
        return -1;
    int64_t length = ftello(m_File);
    if (length < 0)
        return -1;

    char record[kRecordBytes];
    if (length >= kRecordBytes && fseeko(m_File, length - kRecordBytes, SEEK_SET) == 0 &&
        std::fread(record, 1, kRecordBytes, m_File) == kRecordBytes && std::memcmp(record, "TAG", 3) == 0) {
        m_FileLength = length;
        m_Title = Field(record + 3, 30);
        m_Artist = Field(record + 33, 30);
        m_Album = Field(record + 63, 30);
        m_Year = Field(record + 93, 4);
        m_Comment = Field(record + 97, 28);
        return 0;
    }
    // No tag: add an empty record at the end; the texts keep what they held.
    if (fseeko(m_File, 0, SEEK_END) == 0 && AppendEmptyRecord())
        m_FileLength = length + kRecordBytes;
    return -1;
}

bool Id3v1TagFile::AppendEmptyRecord() {
    char record[kRecordBytes] = {'T', 'A', 'G'};
    return std::fwrite(record, 1, kRecordBytes, m_File) == kRecordBytes && std::fflush(m_File) == 0;
}

int Id3v1TagFile::WriteField(int64_t backFromEnd, size_t chars, size_t bytes, const std::string& text) {
    if (!m_File || m_FileLength < kRecordBytes)
        return -1;
    std::string encoded = tags::CutCp949(tags::Utf8ToCp949(tags::FirstUtf8Chars(text, chars)), bytes);
    encoded.resize(bytes, '\0');
    if (fseeko(m_File, m_FileLength - backFromEnd, SEEK_SET) != 0 ||
        std::fwrite(encoded.data(), 1, bytes, m_File) != bytes || std::fflush(m_File) != 0) {
        std::fprintf(stderr, "ID3 tag: %s\n", std::strerror(errno));
        return -1;
    }
    return 0;
}

void Id3v1TagFile::Close() {
    if (m_File) {
        std::fclose(m_File);
        m_File = nullptr;
    }
}
