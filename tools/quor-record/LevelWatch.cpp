// Peak and silence of 16-bit stereo monitor buffers.
#include "tools/quor-record/LevelWatch.h"

#include <cmath>
#include <cstdlib>

LevelWatch::LevelWatch(int threshold) : m_Threshold(threshold) {}

int LevelWatch::ThresholdFor(double dbfs) {
    return static_cast<int>(std::lround(32768.0 * std::pow(10.0, dbfs / 20.0)));
}

int LevelWatch::OnBuffer(void* self, WAVEHDR* header) {
    static_cast<LevelWatch*>(self)->Take(reinterpret_cast<const int16_t*>(header->lpData),
                                         header->dwBytesRecorded / sizeof(int16_t));
    return 1;
}

void LevelWatch::Take(const int16_t* samples, size_t count) {
    int peak = 0;
    // The silent run continues from the last loud sample of the buffer.
    size_t lastLoud = 0;
    bool loud = false;
    for (size_t i = 0; i < count; ++i) {
        const int magnitude = std::abs(static_cast<int>(samples[i]));
        if (magnitude > peak)
            peak = magnitude;
        if (magnitude >= m_Threshold) {
            lastLoud = i;
            loud = true;
        }
    }
    m_Peak.store(peak, std::memory_order_relaxed);
    uint64_t silent = m_ResetRequested.exchange(false, std::memory_order_relaxed)
                          ? 0
                          : m_SilentFrames.load(std::memory_order_relaxed);
    const size_t frames = count / 2;
    silent = loud ? (count - 1 - lastLoud) / 2 : silent + frames;
    m_SilentFrames.store(silent, std::memory_order_relaxed);
}
