// Records the default capture source into the WAV file named on the command line until killed.
#include "recorder/engine/CSoundFile.h"
#include "recorder/engine/CSoundIn.h"

#include <cstdio>
#include <unistd.h>

namespace {
void ToFile(CBuffer& buffer, void* file) {
    static_cast<CSoundFile*>(file)->Write(&buffer);
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    CSoundIn capture;
    CSoundFile file(argv[1], capture.GetFormat());
    if (!file.IsOpen())
        return 1;
    capture.DataFromSoundIn = &ToFile;
    capture.m_pOwner = &file;
    if (!capture.Start())
        return 1;
    std::puts("recording");
    std::fflush(stdout);
    for (;;)
        pause(); // records until the test kills it
}
