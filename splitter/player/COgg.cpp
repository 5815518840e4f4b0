// Player state: Idle (no stream), Playing (stream), Paused (no stream, a saved position).
#include "splitter/player/COgg.h"

#include "platform/dialogs/PlainMessageBox.h"

#include <cstdio>

namespace {

std::string MinutesSeconds(int32_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d", seconds / 60, seconds - (seconds / 60) * 60);
    return text;
}

} // namespace

COgg::COgg(std::unique_ptr<platform::AudioPlayer> player) : m_Player(std::move(player)) {}

COgg::~COgg() = default;

bool COgg::InitAudio() {
    return m_Player->Init(44100);
}

bool COgg::OpenStream(const std::string& newPath) {
    if (stream) {
        stream->Stop();
        stream.reset();
    }
    stream = m_Player->OpenStream(newPath);
    if (!stream)
        return false;
    path = newPath;
    return true;
}

bool COgg::PlayFrom(int32_t startMs) {
    if (!stream)
        return false;
    const int32_t seconds = stream->LengthMs() / 1000;
    totalText = MinutesSeconds(seconds);
    if (paused)
        startMs = resumePosMs;
    stream->SetTimeMs(startMs);
    noServer = !stream->Play();
    if (noServer)
        stream.reset();
    return !noServer;
}

std::string COgg::GetTimeText() {
    elapsedSec = StreamTimeMs() / 1000;
    elapsedText = MinutesSeconds(elapsedSec);
    return elapsedText + "/" + totalText;
}

bool COgg::ControlPlayback(int command) {
    switch (command) {
    case kPause:
        resumePosMs = StreamTimeMs();
        paused = true;
        if (stream)
            stream->Stop();
        stream.reset();
        break;
    case kResume:
        noServer = false;
        if (!OpenStream(path)) {
            platform::ShowPlainMessageBox("음악파일이 잘못되었습니다. \n(오류위치 : m_ControlOGG)", "오류",
                                          platform::MessageBoxIcon::Error);
            return false;
        }
        stream->SetTimeMs(resumePosMs);
        if (!stream->Play()) {
            noServer = true;
            stream.reset();
            return false;
        }
        resumePosMs = 0;
        paused = false;
        break;
    case kStop:
        elapsedSec = 0;
        resumePosMs = 0;
        paused = false;
        if (stream)
            stream->Stop();
        stream.reset();
        break;
    default:
        break;
    }
    return true;
}
