// The steps in the order the window, then the player, take them.
#include "splitter/fuzz/OpenPath.h"

#include "platform/player/Mp3Decoder.h"
#include "splitter/cut/PlayableFile.h"

#include <vector>

namespace {

constexpr size_t kChunkBytes = 16384; // what the playback stream asks for at a time

void PlaySecond(platform::Mp3Decoder& decoder, int64_t fromFrame, OpenedFile& opened) {
    decoder.SeekFrame(fromFrame); // the stream plays on from wherever the seek landed
    std::vector<unsigned char> chunk(kChunkBytes);
    int64_t frames = 0;
    while (frames < decoder.Rate()) {
        const size_t got = decoder.Read(chunk.data(), chunk.size());
        if (got > chunk.size() || got % decoder.FrameBytes() != 0)
            opened.readsWholeFrames = false;
        if (got == 0)
            break;
        frames += static_cast<int64_t>(got / decoder.FrameBytes());
    }
    opened.framesPlayed += frames;
}

} // namespace

OpenedFile OpenAsTheSplitterDoes(const std::string& path) {
    OpenedFile opened;
    opened.taken = ReadPlayableFile(path);
    platform::Mp3Decoder player;
    opened.playable = player.Open(path);
    if (!opened.playable)
        return opened;
    opened.exactMs = player.LengthMs();
    PlaySecond(player, 0, opened);
    PlaySecond(player, player.LengthFrames() / 2, opened);
    return opened;
}
