// A decoded MP3 played through a PulseAudio playback stream of the shared connection. A feeder
// thread decodes and writes while the stream asks for data; the window thread seeks, starts,
// polls the position and stops.
#pragma once

#include "platform/player/AudioPlayer.h"
#include "platform/player/Mp3Decoder.h"

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstdint>
#include <thread>

namespace platform {

class PulsePlaybackStream : public PlaybackStream {
public:
    // Takes an opened decoder.
    explicit PulsePlaybackStream(std::unique_ptr<Mp3Decoder> decoder);
    ~PulsePlaybackStream() override;

    int LengthMs() const override { return static_cast<int>(m_Decoder->LengthMs()); }
    bool SetTimeMs(int ms) override;
    bool Play() override;
    int GetTimeMs() const override;
    void Stop() override;
    bool Lost() const override { return m_Lost; }

private:
    void Feed();
    static void OnSignal(pa_stream*, void* self);
    static void OnState(pa_stream*, void* self);
    static void OnWriteRequest(pa_stream*, size_t, void* self);
    static void OnDrained(pa_stream*, int success, void* self);

    std::unique_ptr<Mp3Decoder> m_Decoder;
    pa_stream* m_Stream = nullptr; // guarded by the main loop lock
    int64_t m_StartFrame = 0;      // where playback began
    std::atomic<int64_t> m_WrittenFrames{0};
    std::atomic<bool> m_Stop{false};
    std::atomic<bool> m_Drained{false}; // set on the main loop thread
    std::atomic<bool> m_Started{false}; // from a successful Play until Stop
    std::atomic<bool> m_Lost{false};    // set on the main loop thread once playing
    std::thread m_Feeder;
};

} // namespace platform
