// The convolution's row kernel for processors with AVX2 (compiled with
// -mavx2, used only when the processor has it): 32 output bytes a step, the
// nine products summed in 32-bit lanes two taps at a time (pmaddwd), the
// division by the divisor done with a multiply by its magic number.

#include "effects/ConvolveKernels.h"

#include <immintrin.h>

namespace krt::conv {
namespace {

// 16 bytes from p as 16-bit lanes.
inline __m256i Widen(const std::uint8_t* p)
{
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

// n / d truncated toward zero, lane by lane.
inline __m256i Divide(__m256i n, const Divider& d, __m256i magic)
{
    switch (d.mode) {
    case Divider::Same: return n;
    case Divider::Negate: return _mm256_sub_epi32(_mm256_setzero_si256(), n);
    case Divider::Zero: return _mm256_setzero_si256();
    case Divider::Magic: break;
    }
    const __m256i even = _mm256_mul_epi32(n, magic);
    const __m256i odd = _mm256_mul_epi32(_mm256_srli_epi64(n, 32), magic);
    __m256i q = _mm256_blend_epi32(_mm256_srli_epi64(even, 32), odd, 0xAA);
    if (d.magic < 0)
        q = _mm256_add_epi32(q, n);
    q = _mm256_srai_epi32(q, d.shift);
    q = _mm256_add_epi32(q, _mm256_srli_epi32(q, 31));
    return d.negate ? _mm256_sub_epi32(_mm256_setzero_si256(), q) : q;
}

// The sums of 16 output bytes starting at byte i: lanes of bytes 0-3 and 8-11
// in `low`, 4-7 and 12-15 in `high`.
inline void Sums16(const RowJob& job, const __m256i* weights, int i, __m256i& low, __m256i& high)
{
    static constexpr int Row[9] = {0, 1, 2, 0, 1, 2, 0, 1, 2};
    static constexpr int Offset[9] = {0, 0, 0, 3, 3, 3, 6, 6, 6};
    low = high = _mm256_setzero_si256();
    for (int pair = 0; pair < 5; ++pair) {
        const int a = 2 * pair, b = 2 * pair + 1;
        const __m256i ta = Widen(job.rows[Row[a]] + i + Offset[a]);
        const __m256i tb = b < 9 ? Widen(job.rows[Row[b]] + i + Offset[b]) : _mm256_setzero_si256();
        low = _mm256_add_epi32(low, _mm256_madd_epi16(_mm256_unpacklo_epi16(ta, tb), weights[pair]));
        high = _mm256_add_epi32(high, _mm256_madd_epi16(_mm256_unpackhi_epi16(ta, tb), weights[pair]));
    }
}

int Row(const RowJob& job)
{
    __m256i weights[5];
    for (int pair = 0; pair < 5; ++pair) {
        const auto w0 = static_cast<std::uint16_t>(job.pairs[2 * pair]);
        const auto w1 = static_cast<std::uint16_t>(job.pairs[2 * pair + 1]);
        weights[pair] = _mm256_set1_epi32(static_cast<std::int32_t>(w0 | (static_cast<std::uint32_t>(w1) << 16)));
    }
    const __m256i magic = _mm256_set1_epi32(job.divider.magic);
    int i = 0;
    for (; i + 32 <= job.bytes; i += 32) {
        __m256i low0, high0, low1, high1;
        Sums16(job, weights, i, low0, high0);
        Sums16(job, weights, i + 16, low1, high1);
        const __m256i words0 = _mm256_packs_epi32(Divide(low0, job.divider, magic), Divide(high0, job.divider, magic));
        const __m256i words1 = _mm256_packs_epi32(Divide(low1, job.divider, magic), Divide(high1, job.divider, magic));
        // Saturation to unsigned bytes is the clamp to 0..255; the lanes come
        // back in order after the 128-bit halves are put right.
        const __m256i bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(words0, words1), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(job.out + i), bytes);
    }
    return i;
}

} // namespace

RowKernel RowKernelAvx2() { return Row; }

} // namespace krt::conv
