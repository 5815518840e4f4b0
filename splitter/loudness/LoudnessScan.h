// Fills a loudness profile from an MP3 file. Short files are decoded whole; long ones frame by
// frame, decoding a short run of frames at even spacing and only parsing the rest, so that a
// three-hour file takes seconds, not the minute a full decode would.
#pragma once

#include "splitter/loudness/LoudnessProfile.h"

#include <atomic>
#include <memory>
#include <string>
#include <thread>

// At most about this many frames are decoded, whatever the file's length.
constexpr int kLoudnessDecodeBudget = 24000;

// Reads `path` into `profile` until the data ends or `stop` is set; the profile is ended either
// way. A file that does not open ends it with nothing known.
void ScanLoudness(const std::string& path, LoudnessProfile& profile, const std::atomic<bool>& stop,
                  int decodeBudget = kLoudnessDecodeBudget);

// A scan on a thread of its own, stopped and joined when this goes: no scan outlives its owner.
class BackgroundLoudness {
public:
    BackgroundLoudness(std::string path, double seconds);
    ~BackgroundLoudness();
    BackgroundLoudness(const BackgroundLoudness&) = delete;
    BackgroundLoudness& operator=(const BackgroundLoudness&) = delete;

    std::shared_ptr<const LoudnessProfile> Profile() const { return m_Profile; }

private:
    std::shared_ptr<LoudnessProfile> m_Profile;
    std::atomic<bool> m_Stop{false};
    std::thread m_Thread;
};
