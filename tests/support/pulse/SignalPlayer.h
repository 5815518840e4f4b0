// Plays a known signal into the private server's "speakers" sink until destroyed, so that its
// monitor (the stereo mix) carries it.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

namespace quortest {

class SignalPlayer {
public:
    // A sine of the given frequency, amplitude 0..1, 44100 Hz 16-bit stereo, same on both channels.
    explicit SignalPlayer(double frequency, double amplitude = 0.5, const std::string& sink = "speakers");
    ~SignalPlayer();
    SignalPlayer(const SignalPlayer&) = delete;
    SignalPlayer& operator=(const SignalPlayer&) = delete;

    bool Playing() const { return m_Ok; }
    // Frames handed to the server so far.
    uint64_t FramesPlayed() const { return m_Frames; }

private:
    void Run(std::string sink);

    double m_Frequency;
    double m_Amplitude;
    std::atomic<bool> m_Stop{false};
    std::atomic<bool> m_Ok{false};
    std::atomic<uint64_t> m_Frames{0};
    std::thread m_Thread;
};

} // namespace quortest
