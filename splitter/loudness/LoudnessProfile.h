// The loudness of a file over its whole length: the peak of each of a fixed number of equal
// steps of time, filled from the start by one writer (the scan) while others read what is known.
// Its size is the picture's, never the decoded audio's.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

class LoudnessProfile {
public:
    static constexpr int kFullScale = 32768;
    // Below this peak (-40 dBFS) a step counts as quiet.
    static constexpr int kQuietPeak = 328;

    static constexpr int kMostSteps = 4096;

    // `seconds` of the file in steps of 25 ms, coarser for long files (at most `mostSteps`).
    explicit LoudnessProfile(double seconds, int mostSteps = kMostSteps);

    double Seconds() const { return m_Seconds; }
    int Steps() const { return static_cast<int>(m_Peaks.size()); }
    double StepSeconds() const { return m_Seconds / Steps(); }
    // How many steps from the start are known; the rest are not drawn (not yet read, or past
    // where the file's data stops).
    int Known() const { return m_Known.load(std::memory_order_acquire); }
    // Whether the scan has ended (finished, stopped or broken off): Known() changes no more.
    bool Ended() const { return m_Ended.load(std::memory_order_acquire); }

    // The highest peak among the known steps that [from, to) seconds touches; nullopt when it
    // touches none.
    std::optional<int> PeakBetween(double from, double to) const;
    // The middle, in seconds, of the quiet stretch nearest to `at` (at least `shortest` seconds of
    // known quiet steps) whose middle lies within `reach` seconds of it.
    std::optional<double> NearestPause(double at, double reach, double shortest = 0.3) const;

    // The writer's side. Raise: the step's peak is at least `peak` (only steps not yet known).
    // Publish: steps before `known` are final.  End: nothing more will come.
    void Raise(int step, int peak);
    void Publish(int known);
    void End() { m_Ended.store(true, std::memory_order_release); }
    // The step that holds the sample `sample` of a file of `rate` samples a second (may be past
    // the last step).
    int StepOf(int64_t sample, long rate) const;

private:
    double m_Seconds;
    std::vector<uint16_t> m_Peaks;
    std::atomic<int> m_Known{0};
    std::atomic<bool> m_Ended{false};
};
