// libFuzzer entry: any file content, read as a tag and written back, must neither crash nor
// change a byte before the record.
#include "recorder/tags/Id3v1TagFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    char path[] = "/tmp/fuzz-id3-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0)
        return 0;
    if (size && write(fd, data, size) != static_cast<ssize_t>(size)) {
        close(fd);
        unlink(path);
        return 0;
    }
    close(fd);
    Id3v1TagFile tag;
    bool hadTag = tag.Read(path) == 0;
    tag.SetTitle(tag.Title() + "가나다라마바사아자차카타파하");
    tag.SetYear(tag.Year());
    tag.SetComment(std::string(reinterpret_cast<const char*>(data), size < 40 ? size : 40));
    tag.Close();

    FILE* file = std::fopen(path, "rb");
    std::string after;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, file)) > 0)
        after.append(buf, n);
    std::fclose(file);
    unlink(path);
    size_t audio = hadTag ? size - 128 : size;
    if (after.size() != audio + 128 || std::memcmp(after.data(), data, audio) != 0 ||
        std::memcmp(after.data() + audio, "TAG", 3) != 0)
        std::abort();
    return 0;
}
