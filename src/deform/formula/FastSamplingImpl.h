// The fast kernels that read a source between its pixels, compiled once per
// instruction set with the rest of FastKernelsImpl.h (included after it by
// FastKernelsSse2.cpp and FastKernelsAvx2.cpp only).

#pragma once

#include "deform/formula/FastKernelsImpl.h"

namespace krt::fast {
namespace {

// Whether a point's four bilinear pixels all lie inside (NaN does not).
KRT_INLINE bool BilinearInside(const PixelSource& s, double x, double y)
{
    return x >= 0 && y >= 0 && x < s.width - 1 && y < s.height - 1;
}

// The bilinear value of one inside point, added to lane k of the sums. Each
// channel is a + t x (b - a) across, then the same down, in single
// precision: whole-number points give their pixel exactly. The vector code
// below does the same arithmetic in the same order.
KRT_INLINE void BilinearOne(const PixelSource& s, double x, double y, int k, const SampleSums& sums)
{
    const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    const float tx = static_cast<float>(x - x0), ty = static_cast<float>(y - y0);
    const std::uint8_t* top = s.pixelData + PixelOffset(s, x0, y0);
    const std::uint8_t* below = top - s.rowBytes; // rows are stored bottom-up
    float* out[3] = {sums.blue, sums.green, sums.red};
    for (int c = 0; c < 3; ++c) {
        const float a = top[c], b = top[c + 3], d = below[c], e = below[c + 3];
        const float upper = a + tx * (b - a), lower = d + tx * (e - d);
        out[c][k] += upper + ty * (lower - upper);
    }
}

#if defined(__AVX2__)
// Eight points one pixel apart along a source row (shifts, waves): their
// pixels are read as runs instead of gathered.
KRT_INLINE bool Run8(__m256d lowX, __m256d highX, __m256d lowY, __m256d highY)
{
    const __m256d x0 = _mm256_permute4x64_pd(lowX, 0), y0 = _mm256_permute4x64_pd(lowY, 0);
    const __m256d along =
        _mm256_and_pd(_mm256_cmp_pd(lowX, _mm256_add_pd(x0, _mm256_setr_pd(0, 1, 2, 3)), _CMP_EQ_OQ),
                      _mm256_cmp_pd(highX, _mm256_add_pd(x0, _mm256_setr_pd(4, 5, 6, 7)), _CMP_EQ_OQ));
    const __m256d level = _mm256_and_pd(_mm256_cmp_pd(lowY, y0, _CMP_EQ_OQ), _mm256_cmp_pd(highY, y0, _CMP_EQ_OQ));
    return _mm256_movemask_pd(_mm256_and_pd(along, level)) == 0xF;
}

// Eight pixels from 24 bytes, one per 32-bit lane (blue, green, red, 0).
KRT_INLINE __m256i Pixels8(const std::uint8_t* p)
{
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i tail = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 16));
    const __m128i high = _mm_alignr_epi8(tail, low, 12); // bytes 12 ... 27 of the run
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    return _mm256_setr_m128i(_mm_shuffle_epi8(low, spread), _mm_shuffle_epi8(high, spread));
}

// The four pixels around each of eight points whose top left pixels lie at
// `offset`: a and b on its row, d and e on the row below (on whole rows, the
// row's own again). A run is read straight, other points gathered.
struct Corners8 {
    __m256i a, b, d, e;
};
KRT_INLINE Corners8 ReadCorners8(const PixelSource& s, __m256i offset, bool run, bool wholeRows)
{
    Corners8 c;
    if (run) {
        const std::uint8_t* p = s.pixelData + _mm256_cvtsi256_si32(offset);
        c.a = Pixels8(p);
        c.b = Pixels8(p + 3);
        c.d = wholeRows ? c.a : Pixels8(p - s.rowBytes);
        c.e = wholeRows ? c.b : Pixels8(p - s.rowBytes + 3);
        return c;
    }
    const int* base = reinterpret_cast<const int*>(s.pixelData);
    const __m256i below = _mm256_sub_epi32(offset, _mm256_set1_epi32(s.rowBytes));
    const __m256i three = _mm256_set1_epi32(3);
    c.a = _mm256_i32gather_epi32(base, offset, 1);
    c.b = _mm256_i32gather_epi32(base, _mm256_add_epi32(offset, three), 1);
    c.d = wholeRows ? c.a : _mm256_i32gather_epi32(base, below, 1);
    c.e = wholeRows ? c.b : _mm256_i32gather_epi32(base, _mm256_add_epi32(below, three), 1);
    return c;
}

// Eight points at once: four gathers of a pixel (and the byte after it, which
// the pixel area's slack allows), the channels as floats, the same arithmetic
// as BilinearOne. Returns the lanes that were inside as a bit mask.
KRT_INLINE int Bilinear8(const PixelSource& s, const double* xs, const double* ys, int k, const SampleSums& sums)
{
    const __m256d lowX = _mm256_loadu_pd(xs + k), highX = _mm256_loadu_pd(xs + k + 4);
    const __m256d lowY = _mm256_loadu_pd(ys + k), highY = _mm256_loadu_pd(ys + k + 4);
    const __m256d zero = _mm256_setzero_pd();
    const __m256d right = _mm256_set1_pd(s.width - 1), bottom = _mm256_set1_pd(s.height - 1);
    const auto inside4 = [&](__m256d x, __m256d y) {
        return _mm256_and_pd(_mm256_and_pd(_mm256_cmp_pd(x, zero, _CMP_GE_OQ), _mm256_cmp_pd(y, zero, _CMP_GE_OQ)),
                             _mm256_and_pd(_mm256_cmp_pd(x, right, _CMP_LT_OQ), _mm256_cmp_pd(y, bottom, _CMP_LT_OQ)));
    };
    const __m256d insideLow = inside4(lowX, lowY), insideHigh = inside4(highX, highY);
    const int mask = _mm256_movemask_pd(insideLow) | (_mm256_movemask_pd(insideHigh) << 4);
    if (mask == 0)
        return 0;
    // Outside lanes read pixel (0, 0) and are not added.
    const __m256d x0Low = _mm256_floor_pd(_mm256_and_pd(lowX, insideLow));
    const __m256d x0High = _mm256_floor_pd(_mm256_and_pd(highX, insideHigh));
    const __m256d y0Low = _mm256_floor_pd(_mm256_and_pd(lowY, insideLow));
    const __m256d y0High = _mm256_floor_pd(_mm256_and_pd(highY, insideHigh));
    const auto join = [](__m128 a, __m128 b) { return _mm256_insertf128_ps(_mm256_castps128_ps256(a), b, 1); };
    const __m256 tx = join(_mm256_cvtpd_ps(_mm256_sub_pd(_mm256_and_pd(lowX, insideLow), x0Low)),
                           _mm256_cvtpd_ps(_mm256_sub_pd(_mm256_and_pd(highX, insideHigh), x0High)));
    const __m256 ty = join(_mm256_cvtpd_ps(_mm256_sub_pd(_mm256_and_pd(lowY, insideLow), y0Low)),
                           _mm256_cvtpd_ps(_mm256_sub_pd(_mm256_and_pd(highY, insideHigh), y0High)));
    const __m256i x0 = _mm256_setr_m128i(_mm256_cvttpd_epi32(x0Low), _mm256_cvttpd_epi32(x0High));
    const __m256i y0 = _mm256_setr_m128i(_mm256_cvttpd_epi32(y0Low), _mm256_cvttpd_epi32(y0High));
    const __m256i offset = _mm256_add_epi32(
        _mm256_mullo_epi32(_mm256_sub_epi32(_mm256_set1_epi32(s.height - 1), y0), _mm256_set1_epi32(s.rowBytes)),
        _mm256_add_epi32(x0, _mm256_add_epi32(x0, x0)));
    // Points on whole rows (ty = 0: a sideways shift) need not read the row
    // below: upper + 0 x (lower - upper) is upper.
    const bool wholeRows = _mm256_movemask_ps(_mm256_cmp_ps(ty, _mm256_setzero_ps(), _CMP_EQ_OQ)) == 0xFF;
    const Corners8 px = ReadCorners8(s, offset, mask == 0xFF && Run8(lowX, highX, lowY, highY), wholeRows);
    const __m256i lanes = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
    const __m256 added =
        _mm256_castsi256_ps(_mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(mask), lanes), lanes));
    const __m256i byte = _mm256_set1_epi32(0xFF);
    float* out[3] = {sums.blue, sums.green, sums.red};
    for (int c = 0; c < 3; ++c) {
        const auto level = [&](__m256i v) {
            return _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(v, 8 * c), byte));
        };
        const __m256 va = level(px.a), vb = level(px.b), vd = level(px.d), ve = level(px.e);
        const __m256 upper = _mm256_add_ps(va, _mm256_mul_ps(tx, _mm256_sub_ps(vb, va)));
        const __m256 lower = wholeRows ? upper : _mm256_add_ps(vd, _mm256_mul_ps(tx, _mm256_sub_ps(ve, vd)));
        const __m256 v = wholeRows ? upper : _mm256_add_ps(upper, _mm256_mul_ps(ty, _mm256_sub_ps(lower, upper)));
        _mm256_storeu_ps(out[c] + k, _mm256_add_ps(_mm256_loadu_ps(out[c] + k), _mm256_and_ps(v, added)));
    }
    return mask;
}
#endif

// A point none of whose four pixels lies inside (NaN too).
KRT_INLINE bool BilinearOutside(const PixelSource& s, double x, double y)
{
    return !(x > -1 && y > -1 && x < s.width && y < s.height);
}

int BilinearSamples(const PixelSource& s, const double* x, const double* y, int n, const float* background,
                    const SampleSums& sums, std::int32_t* rest)
{
    int others = 0, k = 0;
    // Points wholly outside take the background when it is given (the edge
    // mode reads nothing there); the others outside go back to the caller.
    const auto outside = [&](int i) {
        if (background && BilinearOutside(s, x[i], y[i])) {
            sums.blue[i] += background[0];
            sums.green[i] += background[1];
            sums.red[i] += background[2];
        } else {
            rest[others++] = i;
        }
    };
#if defined(__AVX2__)
    if (s.width >= 2 && s.height >= 2 && static_cast<std::int64_t>(s.height) * s.rowBytes < 0x7FFFFF00LL)
        for (; k + 8 <= n; k += 8) {
            const int inside = Bilinear8(s, x, y, k, sums);
            for (int i = 0; i < 8; ++i)
                if ((inside & (1 << i)) == 0)
                    outside(k + i);
        }
#endif
    for (; k < n; ++k) {
        if (BilinearInside(s, x[k], y[k]))
            BilinearOne(s, x[k], y[k], k, sums);
        else
            outside(k);
    }
    return others;
}

KRT_INLINE std::uint8_t AverageLevel(float sum, float share)
{
    const float r = sum * share + 0.5f;
    return r <= 0 ? 0 : r >= 255 ? 255 : static_cast<std::uint8_t>(static_cast<int>(r));
}

void StoreAverages(const SampleSums& sums, int n, float share, std::uint8_t* d)
{
    int k = 0;
#if defined(__AVX2__)
    const __m256 scale = _mm256_set1_ps(share), half = _mm256_set1_ps(0.5f);
    const __m256 low = _mm256_setzero_ps(), high = _mm256_set1_ps(255.0f);
    const __m256i pack = _mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4, 5, 6, 8,
                                          9, 10, 12, 13, 14, -1, -1, -1, -1);
    const auto level = [&](const float* sum) {
        const __m256 r = _mm256_add_ps(_mm256_mul_ps(_mm256_loadu_ps(sum), scale), half);
        return _mm256_cvttps_epi32(_mm256_min_ps(_mm256_max_ps(r, low), high));
    };
    for (; k + 8 <= n; k += 8, d += 24) {
        const __m256i pixels =
            _mm256_or_si256(level(sums.blue + k), _mm256_or_si256(_mm256_slli_epi32(level(sums.green + k), 8),
                                                                  _mm256_slli_epi32(level(sums.red + k), 16)));
        const __m256i packed = _mm256_shuffle_epi8(pixels, pack);
        const __m128i first = _mm256_castsi256_si128(packed), second = _mm256_extracti128_si256(packed, 1);
        std::memcpy(d, &first, 12);
        std::memcpy(d + 12, &second, 12);
    }
#endif
    for (; k < n; ++k, d += 3) {
        d[0] = AverageLevel(sums.blue[k], share);
        d[1] = AverageLevel(sums.green[k], share);
        d[2] = AverageLevel(sums.red[k], share);
    }
}

} // namespace
} // namespace krt::fast
