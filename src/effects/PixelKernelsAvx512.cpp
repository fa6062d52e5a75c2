// Table effects for processors with AVX-512 VBMI (compiled with those
// instructions, used only when the processor has them): a 256-entry byte table
// is four registers looked up 64 bytes at a time with two two-register byte
// permutes and a blend on the index's top bit.

// GCC 12 warns about the deliberately undefined registers inside its own
// AVX-512 intrinsics (_mm512_undefined_epi32); the warning is about the header.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "effects/PixelKernels.h"

#include <immintrin.h>

namespace krt::pixels {
namespace {

struct Table {
    __m512i part[4];
    explicit Table(const std::uint8_t* t)
    {
        for (int k = 0; k < 4; ++k)
            part[k] = _mm512_loadu_si512(t + 64 * k);
    }
    __m512i operator()(__m512i index) const
    {
        const __m512i low = _mm512_permutex2var_epi8(part[0], index, part[1]);
        const __m512i high = _mm512_permutex2var_epi8(part[2], index, part[3]);
        return _mm512_mask_blend_epi8(_mm512_movepi8_mask(index), low, high);
    }
};

// Bit j set where byte j of a 64-byte chunk holds channel c, for a chunk whose
// first byte holds channel `phase`.
__mmask64 ChannelMask(int phase, int c)
{
    __mmask64 mask = 0;
    for (int j = 0; j < 64; ++j)
        if ((phase + j) % 3 == c)
            mask |= __mmask64{1} << j;
    return mask;
}

void ChannelTables(const std::uint8_t* in, std::uint8_t* out, int bytes, const std::uint8_t* blue,
                   const std::uint8_t* green, const std::uint8_t* red)
{
    const Table b(blue), g(green), r(red);
    __mmask64 greens[3], reds[3];
    for (int phase = 0; phase < 3; ++phase) {
        greens[phase] = ChannelMask(phase, 1);
        reds[phase] = ChannelMask(phase, 2);
    }
    int i = 0, phase = 0;
    for (; i < bytes; i += 64, phase = (phase + 1) % 3) {
        const __mmask64 valid = bytes - i >= 64 ? ~__mmask64{0} : (__mmask64{1} << (bytes - i)) - 1;
        const __m512i v = _mm512_maskz_loadu_epi8(valid, in + i);
        __m512i result = b(v);
        result = _mm512_mask_blend_epi8(greens[phase], result, g(v));
        result = _mm512_mask_blend_epi8(reds[phase], result, r(v));
        _mm512_mask_storeu_epi8(out + i, valid, result);
    }
}

// 16 pixels (48 bytes) at a time, taken apart into blue, green and red planes.
void Saturation(std::uint8_t* pixels, int count, int s, const std::uint8_t* after)
{
    alignas(64) std::uint8_t planar[64] = {}, interleave[64] = {};
    for (int j = 0; j < 16; ++j)
        for (int c = 0; c < 3; ++c) {
            planar[16 * c + j] = static_cast<std::uint8_t>(3 * j + c);
            interleave[3 * j + c] = static_cast<std::uint8_t>(16 * c + j);
        }
    const __m512i toPlanes = _mm512_load_si512(planar), toPixels = _mm512_load_si512(interleave);
    const Table map(after);
    const __m256i sv = _mm256_set1_epi16(static_cast<short>(s));
    const __m256i third = _mm256_set1_epi16(static_cast<short>(43691)); // (m * 43691) >> 17 = m / 3
    for (int p = 0; p < count; p += 16) {
        const int n = count - p < 16 ? count - p : 16;
        const __mmask64 valid = (__mmask64{1} << (3 * n)) - 1;
        std::uint8_t* at = pixels + 3 * p;
        const __m512i planes = _mm512_permutexvar_epi8(toPlanes, _mm512_maskz_loadu_epi8(valid, at));
        const __m256i b = _mm256_cvtepu8_epi16(_mm512_castsi512_si128(planes));
        const __m256i g = _mm256_cvtepu8_epi16(_mm512_extracti32x4_epi32(planes, 1));
        const __m256i r = _mm256_cvtepu8_epi16(_mm512_extracti32x4_epi32(planes, 2));
        const __m256i sum = _mm256_add_epi16(_mm256_add_epi16(b, g), r);
        const __m256i mean = _mm256_srli_epi16(_mm256_mulhi_epu16(sum, third), 1);
        const __m256i t = _mm256_sub_epi16(mean, _mm256_srli_epi16(_mm256_mullo_epi16(mean, sv), 8));
        auto channel = [&](__m256i c) {
            return _mm256_cvtepi16_epi8(_mm256_add_epi16(_mm256_srli_epi16(_mm256_mullo_epi16(c, sv), 8), t));
        };
        __m512i out = _mm512_castsi128_si512(channel(b));
        out = _mm512_inserti32x4(out, channel(g), 1);
        out = _mm512_inserti32x4(out, channel(r), 2);
        _mm512_mask_storeu_epi8(at, valid, _mm512_permutexvar_epi8(toPixels, map(out)));
    }
}

} // namespace

const Kernels& Avx512Kernels()
{
    static const Kernels kernels{"AVX-512 VBMI", ChannelTables, Saturation};
    return kernels;
}

} // namespace krt::pixels
