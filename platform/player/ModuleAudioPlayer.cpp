// The player the splitter links: the PulseAudio player of the playback module, loaded when the
// player is first initialised or asked for a stream (after the window's first paint), so that
// libpulse and the codec libraries behind it are not mapped and relocated at start-up.
#include "AudioPlayer.h"
#include "Mp3Decoder.h"
#include "PlaybackModule.h"
#include "loader/ModuleBinding.h"

namespace platform {

namespace {

// A file opened while the module is missing: its length is known, but nothing can play it, as
// when no sound server takes the stream.
class NoOutputStream : public PlaybackStream {
public:
    explicit NoOutputStream(std::unique_ptr<Mp3Decoder> decoder) : m_Decoder(std::move(decoder)) {}
    int LengthMs() const override { return static_cast<int>(m_Decoder->LengthMs()); }
    bool SetTimeMs(int) override { return true; }
    bool Play() override { return false; }
    int GetTimeMs() const override { return 0; }
    void Stop() override {}
    bool Lost() const override { return false; }

private:
    std::unique_ptr<Mp3Decoder> m_Decoder;
};

class ModuleAudioPlayer : public AudioPlayer {
public:
    // False without the module (said once on stderr), as without a sound server.
    bool Init(int mixRate) override { return Loaded() && m_Loaded->Init(mixRate); }

    std::unique_ptr<PlaybackStream> OpenStream(const std::string& path) override {
        if (Loaded())
            return m_Loaded->OpenStream(path);
        auto decoder = std::make_unique<Mp3Decoder>();
        if (!decoder->Open(path))
            return nullptr;
        return std::make_unique<NoOutputStream>(std::move(decoder));
    }

private:
    AudioPlayer* Loaded() {
        if (m_Loaded)
            return m_Loaded.get();
        const auto* create = BindModule<CreatePlayerFunction>(
            kPlaybackModuleFile, "Playback", [](void* module, CreatePlayerFunction* function) {
                return Lookup(module, kCreatePlayerName, function);
            });
        if (create) {
            const SoundClientIdentity identity = CurrentSoundClientIdentity();
            m_Loaded.reset((*create)(&identity));
        }
        return m_Loaded.get();
    }

    std::unique_ptr<AudioPlayer> m_Loaded;
};

} // namespace

std::unique_ptr<AudioPlayer> CreatePulseAudioPlayer() {
    return std::make_unique<ModuleAudioPlayer>();
}

} // namespace platform
