// Levels of the monitor capture for the live line and --until-silence: the peak of the latest
// buffer and how many frames in a row have been silent.
#pragma once

#include "platform/wavein/WaveIn.h"

#include <atomic>
#include <cstdint>

class LevelWatch {
public:
    // samplesThreshold: a sample whose magnitude is below this counts as silent.
    explicit LevelWatch(int threshold);

    // The Recorder's monitor callback, on the monitor worker: reads the buffer, never blocks.
    static int OnBuffer(void* self, WAVEHDR* header);

    // Any thread.
    int Peak() const { return m_Peak.load(std::memory_order_relaxed); }
    uint64_t SilentFrames() const { return m_SilentFrames.load(std::memory_order_relaxed); }
    // Starts the silence count again (at the start of a recording).
    void ResetSilence() { m_ResetRequested.store(true, std::memory_order_relaxed); }

    // The threshold for a level in dBFS, for 16-bit samples.
    static int ThresholdFor(double dbfs);

private:
    void Take(const int16_t* samples, size_t count);

    const int m_Threshold;
    std::atomic<int> m_Peak{0};
    std::atomic<uint64_t> m_SilentFrames{0};
    std::atomic<bool> m_ResetRequested{false};
};
