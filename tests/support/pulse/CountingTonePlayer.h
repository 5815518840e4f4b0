// Plays to several outputs at once, in lockstep from one thread: on each output the left channel
// is that output's sine and the right channel one shared 16-bit frame counter (never 0, so that
// silence the server inserts stays recognisable). Whatever output a capture hears, the counter
// tells whether frames went missing or came twice when it moved.
#pragma once

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

    // Counter steps of a recording (interleaved 16-bit stereo) that was not +1, with their place.
    struct Break {
        size_t frame;
        int step; // in frames: > 1 a gap, < 1 a repeat
    };
    // Breaks of the counter and the longest run of inserted silence, in frames.
    static std::vector<Break> CounterBreaks(const int16_t* pcm, size_t frames, size_t* longestSilence);

private:
    std::vector<Output> m_Outputs;
    std::atomic<bool> m_Stop{false};
    std::atomic<bool> m_Ok{false};
    std::thread m_Thread;
};

} // namespace quortest
