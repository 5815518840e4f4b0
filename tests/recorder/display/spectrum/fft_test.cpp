// The transform against a direct DFT, and the spectrum values' scale and bins on known signals.
#include "recorder/display/spectrum/RadixTwoFft.h"
#include "recorder/display/spectrum/SpectrumValues.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <stdexcept>
#include <vector>

namespace {

std::vector<std::complex<double>> Dft(const std::vector<double>& re, const std::vector<double>& im) {
    const size_t n = re.size();
    std::vector<std::complex<double>> out(n);
    for (size_t k = 0; k < n; ++k) {
        std::complex<long double> sum = 0;
        for (size_t t = 0; t < n; ++t) {
            long double angle = -2.0L * M_PIl * static_cast<long double>((k * t) % n) / n;
            sum += std::complex<long double>(re[t], im[t]) * std::polar(1.0L, angle);
        }
        out[k] = std::complex<double>(static_cast<double>(sum.real()), static_cast<double>(sum.imag()));
    }
    return out;
}

std::vector<int16_t> StereoSine(double frequency, double amplitude, size_t frames) {
    std::vector<int16_t> pcm(frames * 2);
    for (size_t n = 0; n < frames; ++n)
        pcm[2 * n] = pcm[2 * n + 1] =
            static_cast<int16_t>(std::lround(amplitude * std::sin(2 * M_PI * frequency * n / 44100.0)));
    return pcm;
}

size_t PeakBin(const double* values, size_t count, size_t from) {
    return static_cast<size_t>(std::max_element(values + from, values + count) - values);
}

} // namespace

TEST(RadixTwoFft, MatchesDirectDftOnRandomComplexInput) {
    std::mt19937 random(1234);
    std::uniform_real_distribution<double> value(-32768.0, 32767.0);
    for (size_t n : {4u, 8u, 16u, 64u, 1024u}) {
        std::vector<double> re(n), im(n);
        for (size_t i = 0; i < n; ++i) {
            re[i] = value(random);
            im[i] = value(random);
        }
        auto expected = Dft(re, im);
        RadixTwoFft fft(n);
        fft.Transform(re.data(), im.data());
        double worst = 0;
        for (size_t k = 0; k < n; ++k)
            worst = std::max(worst, std::abs(std::complex<double>(re[k], im[k]) - expected[k]));
        // Bins reach about n * 32768 * 0.6; double rounding keeps the error near 1e-10 of that.
        EXPECT_LT(worst, 1e-6) << n << " points";
    }
}

TEST(RadixTwoFft, RejectsSizesThatAreNotPowersOfTwo) {
    EXPECT_THROW(RadixTwoFft(0), std::invalid_argument);
    EXPECT_THROW(RadixTwoFft(2), std::invalid_argument);
    EXPECT_THROW(RadixTwoFft(1000), std::invalid_argument);
    EXPECT_NO_THROW(RadixTwoFft(1024));
}

TEST(RadixTwoFft, OneKilohertzAt44100PeaksInBin23) {
    RadixTwoFft fft(1024);
    std::vector<double> re(1024), im(1024, 0.0);
    for (size_t n = 0; n < 1024; ++n)
        re[n] = 10000 * std::sin(2 * M_PI * 1000.0 * n / 44100.0);
    fft.Transform(re.data(), im.data());
    std::vector<double> magnitude(512);
    for (size_t k = 0; k < 512; ++k)
        magnitude[k] = std::hypot(re[k], im[k]);
    // 1000 * 1024 / 44100 = 23.2
    EXPECT_EQ(PeakBin(magnitude.data(), 512, 1), 23u);
}

TEST(SpectrumValues, UnnormalisedMagnitudesDividedBy256) {
    std::vector<int16_t> constant(2048, 1000);
    double values[kSpectrumValues];
    ComputeSpectrum(constant.data(), constant.size(), values);
    EXPECT_DOUBLE_EQ(values[0], 1024 * 1000 / 256.0);
    for (size_t k = 1; k < kSpectrumValues; ++k)
        ASSERT_LT(values[k], 1e-6) << "bin " << k;

    // Only the first 1024 values count, whatever follows them.
    std::vector<int16_t> tail(2048, 1000);
    std::fill(tail.begin() + 1024, tail.end(), -32768);
    double same[kSpectrumValues];
    ComputeSpectrum(tail.data(), tail.size(), same);
    EXPECT_TRUE(std::equal(values, values + kSpectrumValues, same));
}

TEST(SpectrumValues, ShortBufferIsTakenAsZeroPadded) {
    std::vector<int16_t> half(512, 1000);
    double values[kSpectrumValues];
    ComputeSpectrum(half.data(), half.size(), values);
    EXPECT_DOUBLE_EQ(values[0], 512 * 1000 / 256.0);
}

TEST(SpectrumValues, InterleavedStereoToneLandsAtHalfItsMonoBin) {
    // 512 stereo frames taken as one sequence of 1024: the tone sits at 1000 * 1024 / 88200 = 11.6.
    auto pcm = StereoSine(1000.0, 16000.0, 1024);
    double values[kSpectrumValues];
    ComputeSpectrum(pcm.data(), pcm.size(), values);
    EXPECT_EQ(PeakBin(values, 12 + 1, 1), 12u);
    EXPECT_GT(values[12], 8000.0) << "a loud tone lights its column fully";
    // No window: leakage falls off with the distance from the tone.
    EXPECT_LT(values[100], values[12] / 100);
}

TEST(SpectrumValues, SilenceGivesZeros) {
    std::vector<int16_t> silence(2048, 0);
    double values[kSpectrumValues];
    ComputeSpectrum(silence.data(), silence.size(), values);
    EXPECT_TRUE(std::all_of(values, values + kSpectrumValues, [](double v) { return v == 0.0; }));
}
