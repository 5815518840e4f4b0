// The real player: libmpg123 decoders played through the shared PulseAudio connection.
#include "platform/player/AudioPlayer.h"
#include "platform/player/Mp3Decoder.h"
#include "platform/player/PulsePlaybackStream.h"
#include "platform/pulse/PulseConnection.h"

namespace platform {

namespace {

class PulseAudioPlayer : public AudioPlayer {
public:
    // The server mixes at its own rate; each stream plays at its file's rate.
    bool Init(int) override { return PulseConnection::Instance().EnsureConnected(); }

    std::unique_ptr<PlaybackStream> OpenStream(const std::string& path) override {
        auto decoder = std::make_unique<Mp3Decoder>();
        if (!decoder->Open(path))
            return nullptr;
        return std::make_unique<PulsePlaybackStream>(std::move(decoder));
    }
};

} // namespace

std::unique_ptr<AudioPlayer> CreatePulseAudioPlayer() {
    return std::make_unique<PulseAudioPlayer>();
}

} // namespace platform
