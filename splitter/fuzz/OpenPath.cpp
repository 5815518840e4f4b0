// The steps in the order the window, then the player, take them.
#include "splitter/fuzz/OpenPath.h"

#include "platform/player/Mp3Decoder.h"
#include "splitter/cut/PlayableFile.h"
#include "splitter/loudness/LoudnessScan.h"

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

// The window scans what it takes over the length it shows; the sparse scan is the long file's.
bool PictureHolds(const std::string& path, double seconds) {
    const std::atomic<bool> goOn{false};
    for (const int budget : {kLoudnessDecodeBudget, 8}) {
        LoudnessProfile profile(seconds, 64);
        ScanLoudness(path, profile, goOn, budget);
        if (!profile.Ended() || profile.Known() > profile.Steps())
            return false;
    }
    return true;
}

} // namespace

OpenedFile OpenAsTheSplitterDoes(const std::string& path) {
    OpenedFile opened;
    opened.taken = ReadPlayableFile(path);
    opened.pictureHolds = PictureHolds(path, opened.taken ? opened.taken->durationSec : 60);
    platform::Mp3Decoder player;
    opened.playable = player.Open(path);
    if (!opened.playable)
        return opened;
    opened.exactMs = player.LengthMs();
    PlaySecond(player, 0, opened);
    PlaySecond(player, player.LengthFrames() / 2, opened);
    return opened;
}
