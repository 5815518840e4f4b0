// The real player: libmpg123 decoders played through the shared PulseAudio connection; the entry
// point of the playback module.
#include "AudioPlayer.h"
#include "Mp3Decoder.h"
#include "PlaybackModule.h"
#include "PulsePlaybackStream.h"
#include "pulse/PulseConnection.h"

#include <type_traits>

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

} // namespace platform

// Only this name leaves the module, and no exception crosses back. The module keeps a connection
// of its own, so it takes the program's identity here.
extern "C" __attribute__((visibility("default"))) platform::AudioPlayer*
QuorCreatePulseAudioPlayer(const platform::SoundClientIdentity* identity) {
    try {
        platform::SetSoundClientIdentity(*identity);
        return new platform::PulseAudioPlayer();
    } catch (...) {
        return nullptr;
    }
}

static_assert(std::is_same_v<decltype(&QuorCreatePulseAudioPlayer), platform::CreatePlayerFunction>);
