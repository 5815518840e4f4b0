// The spectrum of one monitor buffer as the display shows it: the first 1024 16-bit values as
// they lie (interleaved left/right), no window, a 1024-point forward FFT, and for bins 0..511
// the magnitude divided by 256. Safe on any thread; allocates nothing after the first call.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr size_t kSpectrumPoints = 1024;
constexpr size_t kSpectrumValues = 512;

// samples: `count` 16-bit values; values beyond `count` are taken as 0 (a short buffer never
// makes the feed read past its end). values: room for kSpectrumValues doubles.
void ComputeSpectrum(const int16_t* samples, size_t count, double* values);
