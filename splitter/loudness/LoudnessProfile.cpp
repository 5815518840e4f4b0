// Steps of time and their peaks; the writer publishes finished steps with a release store, so a
// reader sees every peak below Known() complete.
#include "splitter/loudness/LoudnessProfile.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kFinestStep = 0.025;
} // namespace

LoudnessProfile::LoudnessProfile(double seconds, int mostSteps)
    : m_Seconds(std::max(seconds, kFinestStep)),
      m_Peaks(static_cast<size_t>(
          std::clamp(static_cast<int>(std::ceil(m_Seconds / kFinestStep)), 1, std::max(1, mostSteps)))) {}

int LoudnessProfile::StepOf(int64_t sample, long rate) const {
    if (rate <= 0)
        return Steps();
    const double step = static_cast<double>(sample) / static_cast<double>(rate) / StepSeconds();
    return static_cast<int>(std::min(step, static_cast<double>(Steps())));
}

void LoudnessProfile::Raise(int step, int peak) {
    if (step < Known() || step >= Steps())
        return;
    auto& value = m_Peaks[static_cast<size_t>(step)];
    value = static_cast<uint16_t>(std::max<int>(value, std::clamp(peak, 0, kFullScale)));
}

void LoudnessProfile::Publish(int known) {
    known = std::clamp(known, 0, Steps());
    if (known > Known())
        m_Known.store(known, std::memory_order_release);
}

std::optional<int> LoudnessProfile::PeakBetween(double from, double to) const {
    const int known = Known();
    const int first = std::max(0, static_cast<int>(std::floor(from / StepSeconds())));
    // A span that ends exactly on a step's start does not touch that step.
    const int last = std::min(known, static_cast<int>(std::ceil(to / StepSeconds())));
    if (first >= last)
        return std::nullopt;
    return *std::max_element(m_Peaks.begin() + first, m_Peaks.begin() + last);
}

std::optional<double> LoudnessProfile::NearestPause(double at, double reach, double shortest) const {
    const int known = Known();
    const double step = StepSeconds();
    const int need = std::max(1, static_cast<int>(std::ceil(shortest / step - 1e-9)));
    std::optional<double> best;
    for (int i = 0; i < known;) {
        if (m_Peaks[static_cast<size_t>(i)] >= kQuietPeak) {
            ++i;
            continue;
        }
        int end = i;
        while (end < known && m_Peaks[static_cast<size_t>(end)] < kQuietPeak)
            ++end;
        const double middle = (i + end) / 2.0 * step;
        if (end - i >= need && std::abs(middle - at) <= reach &&
            (!best || std::abs(middle - at) < std::abs(*best - at)))
            best = middle;
        i = end;
    }
    return best;
}
