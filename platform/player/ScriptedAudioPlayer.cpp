// The scripted player: streams share one state with the script; the last stream that played is
// the one the script moves.
#include "platform/player/ScriptedAudioPlayer.h"

#include "platform/player/Mp3Decoder.h"

#include <algorithm>

namespace platform {

namespace {
class ScriptedStream;
} // namespace

struct ScriptedPlayback::State {
    bool serverUp = true;
    ScriptedStream* current = nullptr; // the stream that plays or played last, while it is open
    int lastPositionMs = -1;           // kept when that stream is closed
    std::vector<int> seeks;
};

namespace {

class ScriptedStream : public PlaybackStream {
public:
    ScriptedStream(std::shared_ptr<ScriptedPlayback::State> state, int lengthMs)
        : m_State(std::move(state)), m_LengthMs(lengthMs) {}
    ~ScriptedStream() override {
        if (m_State->current == this) {
            m_State->lastPositionMs = m_PositionMs;
            m_State->current = nullptr;
        }
    }

    int LengthMs() const override { return m_LengthMs; }
    bool SetTimeMs(int ms) override {
        m_PositionMs = std::clamp(ms, 0, m_LengthMs);
        m_State->seeks.push_back(m_PositionMs);
        return true;
    }
    bool Play() override {
        if (!m_State->serverUp)
            return false;
        m_Playing = true;
        m_State->current = this;
        return true;
    }
    int GetTimeMs() const override { return m_PositionMs; }
    void Stop() override { m_Playing = false; }
    bool Lost() const override { return m_Lost; }

    bool Playing() const { return m_Playing; }
    void MoveTo(int ms) {
        if (m_Playing)
            m_PositionMs = std::clamp(ms, 0, m_LengthMs);
    }
    void PlayToEnd() { MoveTo(m_LengthMs); }
    void LoseServer() {
        if (m_Playing)
            m_Lost = true;
        m_Playing = false;
    }

private:
    std::shared_ptr<ScriptedPlayback::State> m_State;
    int m_LengthMs;
    int m_PositionMs = 0;
    bool m_Playing = false;
    bool m_Lost = false;
};

class ScriptedPlayer : public AudioPlayer {
public:
    explicit ScriptedPlayer(std::shared_ptr<ScriptedPlayback::State> state) : m_State(std::move(state)) {}
    bool Init(int) override { return m_State->serverUp; }
    std::unique_ptr<PlaybackStream> OpenStream(const std::string& path) override {
        Mp3Decoder decoder;
        if (!decoder.Open(path))
            return nullptr;
        return std::make_unique<ScriptedStream>(m_State, static_cast<int>(decoder.LengthMs()));
    }

private:
    std::shared_ptr<ScriptedPlayback::State> m_State;
};

} // namespace

ScriptedPlayback::ScriptedPlayback() : m_State(std::make_shared<State>()) {}

std::function<std::unique_ptr<AudioPlayer>()> ScriptedPlayback::Factory() {
    return [state = m_State]() -> std::unique_ptr<AudioPlayer> {
        return std::make_unique<ScriptedPlayer>(state);
    };
}

void ScriptedPlayback::Advance(int ms) {
    if (m_State->current)
        m_State->current->MoveTo(m_State->current->GetTimeMs() + ms);
}

void ScriptedPlayback::PlayToEnd() {
    if (m_State->current)
        m_State->current->PlayToEnd();
}

void ScriptedPlayback::SetServerUp(bool up) {
    m_State->serverUp = up;
    if (!up && m_State->current)
        m_State->current->LoseServer();
}

int ScriptedPlayback::PositionMs() const {
    return m_State->current ? m_State->current->GetTimeMs() : m_State->lastPositionMs;
}

bool ScriptedPlayback::Playing() const {
    return m_State->current && m_State->current->Playing();
}

const std::vector<int>& ScriptedPlayback::Seeks() const {
    return m_State->seeks;
}

} // namespace platform
