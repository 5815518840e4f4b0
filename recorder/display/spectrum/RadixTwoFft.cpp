// The transform runs the first two stages as one pass (their twiddles are 1 and -i, so they
// need no multiplications), then one pass per remaining stage over split arrays with each
// stage's twiddles stored contiguously, so the inner loop is a plain vectorisable sweep.
#include "recorder/display/spectrum/RadixTwoFft.h"

#include <cmath>
#include <stdexcept>
#include <utility>

RadixTwoFft::RadixTwoFft(size_t points)
    : m_Points(points), m_BitReversal(points), m_TwiddleRe(points), m_TwiddleIm(points) {
    if (points < 4 || points > kMaxPoints || (points & (points - 1)) != 0)
        throw std::invalid_argument("FFT size must be a power of two from 4 to 65536");
    int bits = 0;
    while ((size_t{1} << bits) < points)
        ++bits;
    for (size_t i = 0; i < points; ++i) {
        uint32_t reversed = 0;
        for (int b = 0; b < bits; ++b)
            reversed |= static_cast<uint32_t>((i >> b) & 1u) << (bits - 1 - b);
        m_BitReversal[i] = reversed;
    }
    for (size_t m = 1; m < points; m *= 2) {
        for (size_t k = 0; k < m; ++k) {
            double angle = -M_PI * static_cast<double>(k) / static_cast<double>(m);
            m_TwiddleRe[m + k] = std::cos(angle);
            m_TwiddleIm[m + k] = std::sin(angle);
        }
    }
}

void RadixTwoFft::Transform(double* re, double* im) const {
    for (size_t i = 0; i < m_Points; ++i) {
        size_t j = m_BitReversal[i];
        if (j > i) {
            std::swap(re[i], re[j]);
            std::swap(im[i], im[j]);
        }
    }
    TransformBitReversed(re, im);
}

namespace {

// Stages 1 and 2 over each group of four: (a0 ± a1), (a2 ± a3), then the second stage with
// twiddles 1 and -i.
void FirstTwoStages(double* __restrict re, double* __restrict im, size_t points) {
    for (size_t s = 0; s < points; s += 4) {
        double r0 = re[s] + re[s + 1], i0 = im[s] + im[s + 1];
        double r1 = re[s] - re[s + 1], i1 = im[s] - im[s + 1];
        double r2 = re[s + 2] + re[s + 3], i2 = im[s + 2] + im[s + 3];
        double r3 = re[s + 2] - re[s + 3], i3 = im[s + 2] - im[s + 3];
        re[s] = r0 + r2;
        im[s] = i0 + i2;
        re[s + 2] = r0 - r2;
        im[s + 2] = i0 - i2;
        // -i * (r3 + i i3) = i3 - i r3
        re[s + 1] = r1 + i3;
        im[s + 1] = i1 - r3;
        re[s + 3] = r1 - i3;
        im[s + 3] = i1 + r3;
    }
}

// One stage: butterflies between x[s + k] and x[s + m + k] with twiddle w[k], for every block s.
// A compile-time span gives the compiler a fixed trip count to vectorise without a remainder.
template <size_t m>
void Stage(double* __restrict re, double* __restrict im, const double* __restrict wr,
           const double* __restrict wi, size_t points) {
    for (size_t s = 0; s < points; s += 2 * m) {
        double* __restrict ar = re + s;
        double* __restrict ai = im + s;
        double* __restrict br = re + s + m;
        double* __restrict bi = im + s + m;
        for (size_t k = 0; k < m; ++k) {
            double tr = br[k] * wr[k] - bi[k] * wi[k];
            double ti = br[k] * wi[k] + bi[k] * wr[k];
            br[k] = ar[k] - tr;
            bi[k] = ai[k] - ti;
            ar[k] += tr;
            ai[k] += ti;
        }
    }
}

constexpr size_t kLargestSpan = RadixTwoFft::kMaxPoints / 2;

template <size_t m>
void RemainingStages(double* re, double* im, const double* wr, const double* wi, size_t points) {
    if (m >= points)
        return;
    Stage<m>(re, im, wr + m, wi + m, points);
    if constexpr (m < kLargestSpan)
        RemainingStages<2 * m>(re, im, wr, wi, points);
}

} // namespace

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
// Wider vectors where the processor has them, chosen once at load time.
__attribute__((target_clones("arch=x86-64-v3", "default"), flatten))
#endif
void RadixTwoFft::TransformBitReversed(double* re, double* im) const {
    FirstTwoStages(re, im, m_Points);
    RemainingStages<4>(re, im, m_TwiddleRe.data(), m_TwiddleIm.data(), m_Points);
}
