// The ID3v2 tag: reading and writing forwarded to the TagLib module, the tag's length read here.
#include "Id3v2Tag.h"

#include "Id3v2Binding.h"

#include <cstdio>

namespace tags {

std::optional<TagTexts> ReadId3v2(const std::string& path) {
    const Id3v2EntryPoints* module = BindId3v2Module(kId3v2ModuleFile);
    TagTexts texts;
    if (!module || !module->read(path.c_str(), &texts))
        return std::nullopt;
    return texts;
}

bool WriteId3v2(const std::string& path, const TagTexts& texts) {
    const Id3v2EntryPoints* module = BindId3v2Module(kId3v2ModuleFile);
    return module && module->write(path.c_str(), &texts);
}

int64_t Id3v2Length(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return -1;
    unsigned char header[10];
    const size_t got = std::fread(header, 1, sizeof header, file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        return -1;
    if (got < sizeof header || header[0] != 'I' || header[1] != 'D' || header[2] != '3' ||
        header[3] == 0xFF || header[4] == 0xFF)
        return 0;
    int64_t size = 0;
    for (int i = 6; i < 10; ++i) {
        if (header[i] & 0x80)
            return 0; // not a size in 7-bit bytes: not a tag header
        size = size << 7 | header[i];
    }
    const bool footer = header[5] & 0x10;
    return 10 + size + (footer ? 10 : 0);
}

} // namespace tags
