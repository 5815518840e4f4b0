// Known-signal checks for captured or decoded audio.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quortest {

// One channel of interleaved 16-bit PCM as doubles.
std::vector<double> Channel(const int16_t* interleaved, size_t frames, int channels, int channel);
// Frequency estimated from rising zero crossings (for a clean sine; 0 for silence).
double ZeroCrossingFrequency(const std::vector<double>& samples, double sampleRate);
// Root mean square of the samples.
double Rms(const std::vector<double>& samples);
// How much of the signal's energy lies at frequency (0..1), by the Goertzel algorithm.
double ToneShare(const std::vector<double>& samples, double sampleRate, double frequency);

} // namespace quortest
