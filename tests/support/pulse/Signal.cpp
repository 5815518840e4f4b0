// Frequency and level measurements for tests.
#include "tests/support/pulse/Signal.h"

#include <cmath>

namespace quortest {

std::vector<double> Channel(const int16_t* interleaved, size_t frames, int channels, int channel) {
    std::vector<double> out(frames);
    for (size_t i = 0; i < frames; ++i)
        out[i] = interleaved[i * channels + channel];
    return out;
}

double ZeroCrossingFrequency(const std::vector<double>& samples, double sampleRate) {
    size_t first = 0, last = 0, crossings = 0;
    for (size_t i = 1; i < samples.size(); ++i) {
        if (samples[i - 1] < 0 && samples[i] >= 0) {
            if (crossings == 0)
                first = i;
            last = i;
            ++crossings;
        }
    }
    if (crossings < 2)
        return 0;
    return (crossings - 1) * sampleRate / double(last - first);
}

double Rms(const std::vector<double>& samples) {
    if (samples.empty())
        return 0;
    double sum = 0;
    for (double s : samples)
        sum += s * s;
    return std::sqrt(sum / double(samples.size()));
}

double ToneShare(const std::vector<double>& samples, double sampleRate, double frequency) {
    const double n = double(samples.size());
    if (n == 0)
        return 0;
    const double w = 2.0 * M_PI * frequency / sampleRate;
    const double coeff = 2.0 * std::cos(w);
    double s1 = 0, s2 = 0, energy = 0;
    for (double x : samples) {
        double s0 = x + coeff * s1 - s2;
        s2 = s1;
        s1 = s0;
        energy += x * x;
    }
    double power = s1 * s1 + s2 * s2 - coeff * s1 * s2; // |X(f)|^2
    if (energy == 0)
        return 0;
    // Normalised so that a pure tone over whole cycles gives 1.
    return 2.0 * power / (n * energy);
}

} // namespace quortest
