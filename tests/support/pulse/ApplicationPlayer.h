// A program as the sound server sees it: one client with its own application name, which starts
// and ends playback streams (a player's tracks, a browser's tabs) while it stays connected, each
// stream a sine into the given output. Destroying it is the program quitting.
#pragma once

#include <pulse/pulseaudio.h>

#include <cstdint>
#include <map>
#include <string>

namespace quortest {

class ApplicationPlayer {
public:
    explicit ApplicationPlayer(const std::string& name, const std::string& sink = "speakers");
    ~ApplicationPlayer();
    ApplicationPlayer(const ApplicationPlayer&) = delete;
    ApplicationPlayer& operator=(const ApplicationPlayer&) = delete;

    bool Connected() const { return m_Connected; }
    // Starts a stream playing a sine at half scale; returns its number once the server plays it,
    // -1 when it could not.
    int StartStream(double frequency);
    // The server's index of the stream (its sink input), for pactl.
    uint32_t SinkInput(int stream);
    // Ends the stream, as a player does at the end of a track.
    void EndStream(int stream);

private:
    struct Stream {
        pa_stream* stream = nullptr;
        double frequency = 0;
        uint64_t frame = 0;
    };
    static void OnWrite(pa_stream* stream, size_t bytes, void* self);

    std::string m_Sink;
    pa_threaded_mainloop* m_Loop = nullptr;
    pa_context* m_Context = nullptr;
    bool m_Connected = false;
    std::map<int, Stream> m_Streams; // guarded by the loop's lock
    int m_Next = 0;
};

} // namespace quortest
