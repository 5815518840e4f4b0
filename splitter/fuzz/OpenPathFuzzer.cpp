// libFuzzer entry over the whole open path of QuorSplit (OpenPath.h). No input may crash or hang
// it, and what the window takes must hold: a second or more, and a file the player opens; reads
// give whole sample frames, and the loudness scans end within their picture.
#include "splitter/fuzz/OpenPath.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// One file, rewritten for each input: both libraries read paths.
char g_Path[] = "/tmp/quorsplit-fuzz-XXXXXX";

const char* InputPath() {
    static const bool made = [] {
        const int fd = ::mkstemp(g_Path);
        if (fd < 0)
            std::abort();
        ::close(fd);
        std::atexit([] { ::unlink(g_Path); });
        return true;
    }();
    (void)made;
    return g_Path;
}

} // namespace

// The media library keeps a few bytes of its options for the life of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libmediainfo.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FILE* file = std::fopen(InputPath(), "wb");
    if (!file)
        std::abort();
    const bool written = size == 0 || std::fwrite(data, 1, size, file) == size;
    if (std::fclose(file) != 0 || !written)
        std::abort();
    const OpenedFile opened = OpenAsTheSplitterDoes(InputPath());
    if (opened.taken && (opened.taken->durationSec < 1 || !opened.playable))
        std::abort();
    if (!opened.readsWholeFrames || !opened.pictureHolds)
        std::abort();
    return 0;
}
