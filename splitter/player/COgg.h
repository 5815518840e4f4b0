// The splitter's player: one stream of the playback library, played from a millisecond,
// paused by remembering the position and resumed by opening the file again and seeking.
// Paused is a state of its own, so a pause at 0 ms resumes from 0 ms. Window thread only.
#pragma once

#include "platform/player/AudioPlayer.h"

#include <cstdint>
#include <memory>
#include <string>

class COgg {
public:
    explicit COgg(std::unique_ptr<platform::AudioPlayer> player = platform::CreatePulseAudioPlayer());
    virtual ~COgg();

    bool InitAudio();
    bool OpenStream(const std::string& path);
    // False when the stream could not start (no sound server); the stream is then closed.
    bool PlayFrom(int32_t startMs);
    std::string GetTimeText();
    // The commands of ControlPlayback.
    static constexpr int kPause = 1;
    static constexpr int kResume = 2;
    static constexpr int kStop = 3;
    // kPause, kResume or kStop; anything else does nothing. False when a resume failed: the
    // file could not be opened (with the message below) or no sound server took the stream.
    bool ControlPlayback(int command);
    bool IsStreamOpen() const { return stream != nullptr; }
    bool IsPaused() const { return paused; }
    // Whether the last failed play or resume failed for want of a sound server (not the file).
    bool NoServer() const { return noServer; }
    // Playback ended on its own because the sound server went away.
    bool IsLost() const { return stream && stream->Lost(); }
    bool IsAtEnd() const { return elapsedText == totalText; }
    int32_t GetResumePos() const { return resumePosMs; }
    int32_t GetElapsedSec() const { return elapsedSec; }
    // The position of the open stream in milliseconds (0 without one).
    int32_t StreamTimeMs() const { return stream ? stream->GetTimeMs() : 0; }

private:
    std::unique_ptr<platform::AudioPlayer> m_Player;
    std::unique_ptr<platform::PlaybackStream> stream;
    std::string elapsedText;
    std::string totalText;
    std::string path;
    int32_t elapsedSec = 0;
    int32_t resumePosMs = 0;
    bool paused = false;
    bool noServer = false;
};
