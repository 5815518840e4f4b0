// The scan: which frames are decoded, and where their peaks go.
#include "splitter/loudness/LoudnessScan.h"

#include "platform/player/Mp3Decoder.h"

#include <algorithm>

namespace {
// In a sparse scan, each counted frame comes after two decoded only to settle the decoder.
constexpr int kRun = 3;
} // namespace

void ScanLoudness(const std::string& path, LoudnessProfile& profile, const std::atomic<bool>& stop,
                  int decodeBudget) {
    platform::Mp3Decoder decoder;
    if (!decoder.OpenFrames(path)) {
        profile.End();
        return;
    }
    const long rate = decoder.Rate();
    // Frames of 1152 samples; a guess that sets the spacing only.
    const double frames = profile.Seconds() * static_cast<double>(rate) / 1152.0;
    // Every frame while that costs little more than the runs would.
    const int64_t every =
        frames <= static_cast<double>(decodeBudget) * 4 / kRun
            ? 1
            : std::max<int64_t>(kRun + 1, static_cast<int64_t>(frames * kRun / std::max(decodeBudget, kRun)));
    int64_t end = 0;
    while (!stop.load(std::memory_order_relaxed)) {
        const auto frame = decoder.NextFrame();
        if (!frame)
            break;
        const int64_t index = frame->first / frame->samples;
        const int64_t phase = index % every;
        if (every == 1 || phase >= every - kRun) {
            const int peak = decoder.DecodePeak();
            if (peak >= 0 && (every == 1 || phase == every - 1)) {
                const int first = profile.StepOf(frame->first, rate);
                const int last = profile.StepOf(frame->first + frame->samples - 1, rate);
                for (int step = first; step <= last; ++step)
                    profile.Raise(step, peak);
            }
        }
        end = frame->first + frame->samples;
        // The step the frame ends in may still rise with the next frame.
        const int endStep = profile.StepOf(end, rate);
        profile.Publish(endStep);
        if (endStep >= profile.Steps())
            break;
    }
    // Where the data stops, its last step is as complete as it will be.
    if (!stop.load(std::memory_order_relaxed) && end > 0)
        profile.Publish(profile.StepOf(end - 1, rate) + 1);
    profile.End();
}

BackgroundLoudness::BackgroundLoudness(std::string path, double seconds)
    : m_Profile(std::make_shared<LoudnessProfile>(seconds)),
      m_Thread([this, file = std::move(path)] { ScanLoudness(file, *m_Profile, m_Stop); }) {}

BackgroundLoudness::~BackgroundLoudness() {
    m_Stop = true;
    m_Thread.join();
}
