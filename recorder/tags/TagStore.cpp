// Both tag formats behind one read and one save.
#include "recorder/tags/TagStore.h"

#include "recorder/tags/FileReplacement.h"
#include "recorder/tags/Id3v1TagFile.h"
#include "recorder/tags/Id3v2Tag.h"

#include <cstdio>
#include <cstring>

namespace tags {
namespace {

class File {
public:
    explicit File(const std::string& path) : m_File(std::fopen(path.c_str(), "rb")) {}
    ~File() {
        if (m_File)
            std::fclose(m_File);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    FILE* get() const { return m_File; }

private:
    FILE* m_File;
};

// Whether the two files hold the same bytes after their ID3v2 tags, up to their ends.
bool SameAfterId3v2(const std::string& a, const std::string& b) {
    const int64_t skipA = Id3v2Length(a), skipB = Id3v2Length(b);
    File fileA(a), fileB(b);
    if (skipA < 0 || skipB < 0 || !fileA.get() || !fileB.get() || fseeko(fileA.get(), skipA, SEEK_SET) != 0 ||
        fseeko(fileB.get(), skipB, SEEK_SET) != 0)
        return false;
    static constexpr size_t kChunk = 1 << 16;
    std::string bufferA(kChunk, '\0'), bufferB(kChunk, '\0');
    for (;;) {
        const size_t gotA = std::fread(bufferA.data(), 1, kChunk, fileA.get());
        const size_t gotB = std::fread(bufferB.data(), 1, kChunk, fileB.get());
        if (gotA != gotB || std::memcmp(bufferA.data(), bufferB.data(), gotA) != 0)
            return false;
        if (gotA < kChunk)
            return !std::ferror(fileA.get()) && !std::ferror(fileB.get());
    }
}

} // namespace

TagTexts ReadTags(const std::string& path) {
    Id3v1TagFile record;
    record.Read(path);
    TagTexts texts{record.Title(), record.Artist(), record.Album(), record.Year(), record.Comment()};
    record.Close();
    if (std::optional<TagTexts> fuller = ReadId3v2(path))
        return *fuller;
    return texts;
}

bool WriteId3v1(const std::string& path, const TagTexts& texts) {
    Id3v1TagFile record;
    record.Read(path);
    int failures = 0;
    failures += record.SetArtist(texts.artist) != 0;
    failures += record.SetAlbum(texts.album) != 0;
    failures += record.SetTitle(texts.title) != 0;
    failures += record.SetYear(texts.year) != 0;
    failures += record.SetComment(texts.comment) != 0;
    record.Close();
    return failures == 0;
}

bool SaveTags(const std::string& path, const TagTexts& texts) {
    FileReplacement replacement;
    if (!replacement.Begin(path))
        return false;
    // The ID3v2 tag first, while the copy's end is still the file's own, so the check compares
    // everything after the tag: the audio and the ID3v1 record as they were.
    if (!WriteId3v2(replacement.CopyPath(), texts) ||
        !SameAfterId3v2(replacement.TargetPath(), replacement.CopyPath()))
        return false;
    return WriteId3v1(replacement.CopyPath(), texts) && replacement.Commit();
}

} // namespace tags
