// Conversion in bit-reversed order, the transform, then magnitudes from single-precision parts.
#include "recorder/display/spectrum/SpectrumValues.h"

#include "recorder/display/spectrum/RadixTwoFft.h"

#include <cmath>

namespace {
const RadixTwoFft& SpectrumFft() {
    static const RadixTwoFft fft(kSpectrumPoints);
    return fft;
}
} // namespace

void ComputeSpectrum(const int16_t* samples, size_t count, double* values) {
    const RadixTwoFft& fft = SpectrumFft();
    const uint32_t* reversed = fft.BitReversal().data();
    alignas(64) double re[kSpectrumPoints];
    alignas(64) double im[kSpectrumPoints];
    // Loading straight into bit-reversed order saves the separate permutation pass.
    if (count >= kSpectrumPoints) {
        for (size_t i = 0; i < kSpectrumPoints; ++i)
            re[i] = samples[reversed[i]];
    } else {
        for (size_t i = 0; i < kSpectrumPoints; ++i)
            re[i] = reversed[i] < count ? samples[reversed[i]] : 0.0;
    }
    for (size_t i = 0; i < kSpectrumPoints; ++i)
        im[i] = 0.0;
    fft.TransformBitReversed(re, im);
    for (size_t k = 0; k < kSpectrumValues; ++k) {
        float r = static_cast<float>(re[k]);
        float i = static_cast<float>(im[k]);
        values[k] = std::sqrt(static_cast<double>(r * r + i * i)) / 256.0;
    }
}
