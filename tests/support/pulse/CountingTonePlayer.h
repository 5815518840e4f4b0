// Plays to several outputs at once, in lockstep from one thread: on each output the left channel
// is that output's sine and the right channel one shared 16-bit frame counter (never 0, so that
// silence the server inserts stays recognisable). Whatever output a capture hears, the counter
// tells whether frames went missing or came twice when it moved.
#pragma once

#include <pulse/pulseaudio.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace quortest {

class CountingTonePlayer {
public:
    struct Output {
        std::string sink;
        double frequency;
    };
    explicit CountingTonePlayer(std::vector<Output> outputs);
    ~CountingTonePlayer();
    CountingTonePlayer(const CountingTonePlayer&) = delete;
    CountingTonePlayer& operator=(const CountingTonePlayer&) = delete;

    bool Playing() const { return m_Ok; }
    // Times an output ran dry and the server played silence in its place.
    int Underflows() const { return m_Underflows; }

    // Frames that output `to` has taken from its stream beyond output `from`, now: each server
    // output renders ahead of time by its own latency, so a capture that moves from one monitor
    // to the other sees the counter jump by this much although it lost nothing.
    long RenderedLead(size_t from, size_t to);

    // Counter steps of a recording (interleaved 16-bit stereo) that was not +1, with their place.
    struct Break {
        size_t frame;
        int step; // in frames: > 1 a gap, < 1 a repeat
    };
    // Breaks of the counter and the longest run of inserted silence, in frames.
    static std::vector<Break> CounterBreaks(const int16_t* pcm, size_t frames, size_t* longestSilence);

private:
    void Play();

    std::vector<Output> m_Outputs;
    // Guarded by the loop's lock.
    pa_threaded_mainloop* m_Loop = nullptr;
    pa_context* m_Context = nullptr;
    std::vector<pa_stream*> m_Streams;
    int m_Pending = 0;
    std::atomic<bool> m_Stop{false};
    std::atomic<bool> m_Ok{false};
    std::atomic<int> m_Underflows{0};
    std::thread m_Thread;
};

} // namespace quortest
