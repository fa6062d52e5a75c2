// The convolution's row kernel for any x86-64 processor (SSE2): the nine
// products summed in 32-bit lanes two taps at a time (pmaddwd), 8 output bytes
// a step; the division by the divisor's magic number is done lane by lane.

#include "effects/ConvolveKernels.h"

#include <emmintrin.h>

namespace krt::conv {
namespace {

inline __m128i Widen(const std::uint8_t* p)
{
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), _mm_setzero_si128());
}

inline std::int32_t Divide(std::int32_t n, const Divider& d)
{
    switch (d.mode) {
    case Divider::Same: return n;
    case Divider::Negate: return -n;
    case Divider::Zero: return 0;
    case Divider::Magic: break;
    }
    auto q = static_cast<std::int32_t>((static_cast<std::int64_t>(n) * d.magic) >> 32);
    if (d.magic < 0)
        q += n;
    q >>= d.shift;
    q += static_cast<std::int32_t>(static_cast<std::uint32_t>(q) >> 31);
    return d.negate ? -q : q;
}

int Row(const RowJob& job)
{
    static constexpr int Rows[9] = {0, 1, 2, 0, 1, 2, 0, 1, 2};
    static constexpr int Offset[9] = {0, 0, 0, 3, 3, 3, 6, 6, 6};
    __m128i weights[5];
    for (int pair = 0; pair < 5; ++pair) {
        const auto w0 = static_cast<std::uint16_t>(job.pairs[2 * pair]);
        const auto w1 = static_cast<std::uint16_t>(job.pairs[2 * pair + 1]);
        weights[pair] = _mm_set1_epi32(static_cast<std::int32_t>(w0 | (static_cast<std::uint32_t>(w1) << 16)));
    }
    int i = 0;
    for (; i + 8 <= job.bytes; i += 8) {
        __m128i low = _mm_setzero_si128(), high = _mm_setzero_si128();
        for (int pair = 0; pair < 5; ++pair) {
            const int a = 2 * pair, b = 2 * pair + 1;
            const __m128i ta = Widen(job.rows[Rows[a]] + i + Offset[a]);
            const __m128i tb = b < 9 ? Widen(job.rows[Rows[b]] + i + Offset[b]) : _mm_setzero_si128();
            low = _mm_add_epi32(low, _mm_madd_epi16(_mm_unpacklo_epi16(ta, tb), weights[pair]));
            high = _mm_add_epi32(high, _mm_madd_epi16(_mm_unpackhi_epi16(ta, tb), weights[pair]));
        }
        alignas(16) std::int32_t sums[8];
        _mm_store_si128(reinterpret_cast<__m128i*>(sums), low);
        _mm_store_si128(reinterpret_cast<__m128i*>(sums + 4), high);
        for (std::int32_t& s : sums)
            s = Divide(s, job.divider);
        const __m128i words = _mm_packs_epi32(_mm_load_si128(reinterpret_cast<const __m128i*>(sums)),
                                              _mm_load_si128(reinterpret_cast<const __m128i*>(sums + 4)));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(job.out + i), _mm_packus_epi16(words, words));
    }
    return i;
}

} // namespace

RowKernel RowKernelSse2() { return Row; }

} // namespace krt::conv
