// Playback of MP3 files: the library the splitter's player calls, as an interface so that a
// window can be tested with another one. Positions are milliseconds from the file's start.
#pragma once

#include <memory>
#include <string>

namespace platform {

// One open file. Called from one thread (the window's); playback runs on a thread of its own.
class PlaybackStream {
public:
    virtual ~PlaybackStream() = default;
    // Exact length of the file.
    virtual int LengthMs() const = 0;
    // Seeks; meant for before Play.
    virtual bool SetTimeMs(int ms) = 0;
    // Starts playing from the current position to the end of the file; false when no sound
    // server takes the stream.
    virtual bool Play() = 0;
    // The position being heard; stays at the end once the file has played out.
    virtual int GetTimeMs() const = 0;
    // Silences the stream at once; harmless when it does not play.
    virtual void Stop() = 0;
    // True once a started playback has ended without Stop: the sound server went away.
    virtual bool Lost() const = 0;
};

class AudioPlayer {
public:
    virtual ~AudioPlayer() = default;
    // Prepares the output; false when no sound server answers (later plays then fail).
    virtual bool Init(int mixRate) = 0;
    // Null when the file is missing or is not a playable MP3.
    virtual std::unique_ptr<PlaybackStream> OpenStream(const std::string& path) = 0;
};

// libmpg123 decoding into a PulseAudio playback stream.
std::unique_ptr<AudioPlayer> CreatePulseAudioPlayer();

} // namespace platform
