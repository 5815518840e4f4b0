// Forward complex FFT, radix 2, decimation in time, for the spectrum display. The bit-reversal
// permutation and the twiddle factors are computed once per size; a transform allocates nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class RadixTwoFft {
public:
    static constexpr size_t kMaxPoints = size_t{1} << 16;
    // points: a power of two from 4 to kMaxPoints.
    explicit RadixTwoFft(size_t points);

    size_t Points() const { return m_Points; }
    // Index of the input that goes to position i of the bit-reversed order.
    const std::vector<uint32_t>& BitReversal() const { return m_BitReversal; }

    // Unnormalised forward transform, X[k] = sum x[n] e^(-2 pi i k n / N), in place on split
    // real and imaginary arrays of Points() values whose input is already in bit-reversed order.
    void TransformBitReversed(double* re, double* im) const;

    // The same for input in natural order (permutes first).
    void Transform(double* re, double* im) const;

private:
    size_t m_Points;
    std::vector<uint32_t> m_BitReversal;
    // Twiddles of the stage whose butterflies span 2m points start at index m: e^(-i pi k / m).
    std::vector<double> m_TwiddleRe;
    std::vector<double> m_TwiddleIm;
};
