// The fast kernels that read a source between its pixels, compiled once per
// instruction set with the rest of FastKernelsImpl.h (included after it by
// FastKernelsSse2.cpp and FastKernelsAvx2.cpp only).

#pragma once

#include "deform/formula/FastKernelsImpl.h"

namespace krt::fast {
namespace {

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

// Keys' cubic convolution kernel (a = -1/2) near its centre (|t| <= 1) and
// further out (1 <= |t| <= 2), in double precision; both are 0 at t = 1 and
// the far one at t = 2, exactly.
template <class T> KRT_INLINE T KeysNear(T t) { return ((1.5 * t - 2.5) * t) * t + 1.0; }
template <class T> KRT_INLINE T KeysFar(T t) { return ((-0.5 * t + 2.5) * t - 4.0) * t + 2.0; }

// The bicubic value of one point whose sixteen pixels lie inside, added to
// lane k of the sums: each row weighed across, then the rows down, in single
// precision (the vector code below does the same in the same order).
KRT_INLINE void BicubicOne(const PixelSource& s, double x, double y, int k, const SampleSums& sums)
{
    const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    const double tx = x - x0, ty = y - y0;
    const float wx[4] = {static_cast<float>(KeysFar(1.0 + tx)), static_cast<float>(KeysNear(tx)),
                         static_cast<float>(KeysNear(1.0 - tx)), static_cast<float>(KeysFar(2.0 - tx))};
    const float wy[4] = {static_cast<float>(KeysFar(1.0 + ty)), static_cast<float>(KeysNear(ty)),
                         static_cast<float>(KeysNear(1.0 - ty)), static_cast<float>(KeysFar(2.0 - ty))};
    float sum[3] = {};
    for (int j = 0; j < 4; ++j) {
        const std::uint8_t* p = s.pixelData + PixelOffset(s, x0 - 1, y0 - 1 + j);
        float across[3] = {};
        for (int i = 0; i < 4; ++i, p += 3)
            for (int c = 0; c < 3; ++c)
                across[c] += wx[i] * p[c];
        for (int c = 0; c < 3; ++c)
            sum[c] += wy[j] * across[c];
    }
    sums.blue[k] += sum[0];
    sums.green[k] += sum[1];
    sums.red[k] += sum[2];
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

// Eight points as the vector samplers take them: which lie inside
// [low, width - high) x [low, height - high) (a bit each), the others moved
// to (low, low) so that they read something harmless; whole and fractional
// parts of each coordinate; whether they form a run along one row.
struct Points8 {
    int mask;
    bool run;
    __m256d fracX[2], fracY[2]; // x - floor(x), four lanes each
    __m256i x0, y0;             // floor(x), floor(y)
};
KRT_INLINE Points8 LoadPoints8(const PixelSource& s, const double* xs, const double* ys, int k, double low, double high)
{
    Points8 p{};
    const __m256d x[2] = {_mm256_loadu_pd(xs + k), _mm256_loadu_pd(xs + k + 4)};
    const __m256d y[2] = {_mm256_loadu_pd(ys + k), _mm256_loadu_pd(ys + k + 4)};
    const __m256d from = _mm256_set1_pd(low);
    const __m256d right = _mm256_set1_pd(s.width - high), bottom = _mm256_set1_pd(s.height - high);
    __m128i x0[2], y0[2];
    for (int h = 0; h < 2; ++h) {
        const __m256d inside = _mm256_and_pd(
            _mm256_and_pd(_mm256_cmp_pd(x[h], from, _CMP_GE_OQ), _mm256_cmp_pd(y[h], from, _CMP_GE_OQ)),
            _mm256_and_pd(_mm256_cmp_pd(x[h], right, _CMP_LT_OQ), _mm256_cmp_pd(y[h], bottom, _CMP_LT_OQ)));
        p.mask |= _mm256_movemask_pd(inside) << (4 * h);
        const __m256d px = _mm256_blendv_pd(from, x[h], inside), py = _mm256_blendv_pd(from, y[h], inside);
        const __m256d fx = _mm256_floor_pd(px), fy = _mm256_floor_pd(py);
        p.fracX[h] = _mm256_sub_pd(px, fx);
        p.fracY[h] = _mm256_sub_pd(py, fy);
        x0[h] = _mm256_cvttpd_epi32(fx);
        y0[h] = _mm256_cvttpd_epi32(fy);
    }
    p.x0 = _mm256_setr_m128i(x0[0], x0[1]);
    p.y0 = _mm256_setr_m128i(y0[0], y0[1]);
    p.run = p.mask == 0xFF && Run8(x[0], x[1], y[0], y[1]);
    return p;
}

// The byte offset of pixel (x0 + dx, y0 + dy) of each lane.
KRT_INLINE __m256i Offsets8(const PixelSource& s, const Points8& p, int dx, int dy)
{
    const __m256i column = _mm256_add_epi32(p.x0, _mm256_set1_epi32(dx));
    return _mm256_add_epi32(
        _mm256_mullo_epi32(_mm256_sub_epi32(_mm256_set1_epi32(s.height - 1 - dy), p.y0), _mm256_set1_epi32(s.rowBytes)),
        _mm256_add_epi32(column, _mm256_add_epi32(column, column)));
}

KRT_INLINE __m256 Floats8(__m256d low, __m256d high)
{
    return _mm256_insertf128_ps(_mm256_castps128_ps256(_mm256_cvtpd_ps(low)), _mm256_cvtpd_ps(high), 1);
}

// Channel c of eight pixels as floats.
KRT_INLINE __m256 Level8(__m256i pixels, int c)
{
    return _mm256_cvtepi32_ps(_mm256_and_si256(_mm256_srli_epi32(pixels, 8 * c), _mm256_set1_epi32(0xFF)));
}

// Adds channel values v[c] of the lanes in `mask` to the sums.
KRT_INLINE void AddLanes8(const SampleSums& sums, int k, int mask, const __m256 v[3])
{
    const __m256i lanes = _mm256_setr_epi32(1, 2, 4, 8, 16, 32, 64, 128);
    const __m256 added =
        _mm256_castsi256_ps(_mm256_cmpeq_epi32(_mm256_and_si256(_mm256_set1_epi32(mask), lanes), lanes));
    float* out[3] = {sums.blue, sums.green, sums.red};
    for (int c = 0; c < 3; ++c)
        _mm256_storeu_ps(out[c] + k, _mm256_add_ps(_mm256_loadu_ps(out[c] + k), _mm256_and_ps(v[c], added)));
}

// Eight points at once: four gathers of a pixel (and the byte after it, which
// the pixel area's slack allows), the channels as floats, the same arithmetic
// as BilinearOne. Returns the lanes that were inside as a bit mask.
KRT_INLINE int Bilinear8(const PixelSource& s, const double* xs, const double* ys, int k, const SampleSums& sums)
{
    const Points8 p = LoadPoints8(s, xs, ys, k, 0, 1);
    if (p.mask == 0)
        return 0;
    const __m256 tx = Floats8(p.fracX[0], p.fracX[1]), ty = Floats8(p.fracY[0], p.fracY[1]);
    // Points on whole rows (ty = 0: a sideways shift) need not read the row
    // below: upper + 0 x (lower - upper) is upper.
    const bool wholeRows = _mm256_movemask_ps(_mm256_cmp_ps(ty, _mm256_setzero_ps(), _CMP_EQ_OQ)) == 0xFF;
    const Corners8 px = ReadCorners8(s, Offsets8(s, p, 0, 0), p.run, wholeRows);
    __m256 v[3];
    for (int c = 0; c < 3; ++c) {
        const __m256 va = Level8(px.a, c), vb = Level8(px.b, c), vd = Level8(px.d, c), ve = Level8(px.e, c);
        const __m256 upper = _mm256_add_ps(va, _mm256_mul_ps(tx, _mm256_sub_ps(vb, va)));
        const __m256 lower = wholeRows ? upper : _mm256_add_ps(vd, _mm256_mul_ps(tx, _mm256_sub_ps(ve, vd)));
        v[c] = wholeRows ? upper : _mm256_add_ps(upper, _mm256_mul_ps(ty, _mm256_sub_ps(lower, upper)));
    }
    AddLanes8(sums, k, p.mask, v);
    return p.mask;
}

// Keys' four weights for a point at fraction t of the way from its pixel to
// the next, as floats, for eight points.
KRT_INLINE void KeysWeights8(const __m256d t[2], __m256 w[4])
{
    d4 weight[2][4];
    for (int h = 0; h < 2; ++h) {
        const d4 f = (d4)t[h];
        weight[h][0] = KeysFar(1.0 + f);
        weight[h][1] = KeysNear(f);
        weight[h][2] = KeysNear(1.0 - f);
        weight[h][3] = KeysFar(2.0 - f);
    }
    for (int i = 0; i < 4; ++i)
        w[i] = Floats8((__m256d)weight[0][i], (__m256d)weight[1][i]);
}

// Bicubic reading of eight points, as BicubicOne: sixteen pixels each,
// gathered (or read as runs), weighed across and then down.
KRT_INLINE int Bicubic8(const PixelSource& s, const double* xs, const double* ys, int k, const SampleSums& sums)
{
    const Points8 p = LoadPoints8(s, xs, ys, k, 1, 2);
    if (p.mask == 0)
        return 0;
    __m256 wx[4], wy[4];
    KeysWeights8(p.fracX, wx);
    KeysWeights8(p.fracY, wy);
    __m256 v[3] = {_mm256_setzero_ps(), _mm256_setzero_ps(), _mm256_setzero_ps()};
    const int* base = reinterpret_cast<const int*>(s.pixelData);
    for (int j = 0; j < 4; ++j) {
        // A row every point gives no weight adds nothing (0 x across).
        if (_mm256_movemask_ps(_mm256_cmp_ps(wy[j], _mm256_setzero_ps(), _CMP_EQ_OQ)) == 0xFF)
            continue;
        const __m256i offset = Offsets8(s, p, -1, j - 1);
        __m256i pixels[4];
        for (int i = 0; i < 4; ++i)
            pixels[i] = p.run ? Pixels8(s.pixelData + _mm256_cvtsi256_si32(offset) + 3 * i)
                              : _mm256_i32gather_epi32(base, _mm256_add_epi32(offset, _mm256_set1_epi32(3 * i)), 1);
        for (int c = 0; c < 3; ++c) {
            __m256 across = _mm256_setzero_ps();
            for (int i = 0; i < 4; ++i)
                across = _mm256_add_ps(across, _mm256_mul_ps(wx[i], Level8(pixels[i], c)));
            v[c] = _mm256_add_ps(v[c], _mm256_mul_ps(wy[j], across));
        }
    }
    AddLanes8(sums, k, p.mask, v);
    return p.mask;
}
#endif

// A sampler of one point and of eight at once (none without AVX2).
using OneSampler = void (*)(const PixelSource&, double, double, int, const SampleSums&);
using EightSampler = int (*)(const PixelSource&, const double*, const double*, int, const SampleSums&);
#if defined(__AVX2__)
constexpr EightSampler BilinearEight = Bilinear8, BicubicEight = Bicubic8;
#else
constexpr EightSampler BilinearEight = nullptr, BicubicEight = nullptr;
#endif

// The points whose pixels all lie inside (from `Low` before the point to
// `High` after it along each side) are read here; with `background`
// (blue, green, red), points none of whose pixels lies inside (NaN too) add
// it; the others go back to the caller in `rest`.
template <int Low, int High, OneSampler One, EightSampler Eight>
int Samples(const PixelSource& s, const double* x, const double* y, int n, const float* background,
            const SampleSums& sums, std::int32_t* rest)
{
    int others = 0, k = 0;
    const auto outside = [&](int i) {
        if (background && !(x[i] > -1 - Low && y[i] > -1 - Low && x[i] < s.width + Low && y[i] < s.height + Low)) {
            sums.blue[i] += background[0];
            sums.green[i] += background[1];
            sums.red[i] += background[2];
        } else {
            rest[others++] = i;
        }
    };
    if (Eight && s.width > 2 * High && s.height > 2 * High &&
        static_cast<std::int64_t>(s.height) * s.rowBytes < 0x7FFFFF00LL)
        for (; k + 8 <= n; k += 8) {
            const int inside = Eight(s, x, y, k, sums);
            for (int i = 0; i < 8; ++i)
                if ((inside & (1 << i)) == 0)
                    outside(k + i);
        }
    for (; k < n; ++k) {
        if (x[k] >= Low && y[k] >= Low && x[k] < s.width - High && y[k] < s.height - High)
            One(s, x[k], y[k], k, sums);
        else
            outside(k);
    }
    return others;
}

int BilinearSamples(const PixelSource& s, const double* x, const double* y, int n, const float* background,
                    const SampleSums& sums, std::int32_t* rest)
{
    return Samples<0, 1, BilinearOne, BilinearEight>(s, x, y, n, background, sums, rest);
}

int BicubicSamples(const PixelSource& s, const double* x, const double* y, int n, const float* background,
                   const SampleSums& sums, std::int32_t* rest)
{
    return Samples<1, 2, BicubicOne, BicubicEight>(s, x, y, n, background, sums, rest);
}

// The pixel the warp's own rule names along a side of `size` pixels: polar
// rounds (RoundCoord: halves up, negatives toward zero), Cartesian truncates
// toward zero; -1 outside 0 ... size - 1 (NaN too). Four lanes at a time.
KRT_INLINE i4 NearestIndex4(d4 v, int size, bool polar)
{
    const l4 valid = (v > -1.0) & (v < Splat(static_cast<double>(size)));
    const d4 safe = Select(valid, v, Splat(0.0));
    i4 index = __builtin_convertvector(safe, i4);
    if (polar) {
        const d4 n = __builtin_convertvector(index, d4);
        const l4 keep = (n + 1.0 - safe) > (safe - n);
        index = index + (__builtin_convertvector(keep, i4) + 1); // keep: n, else n + 1
    }
    const i4 inside = __builtin_convertvector(valid, i4) & (index < size);
    return (index & inside) | (i4{-1, -1, -1, -1} & ~inside);
}

int NearestSamples(const PixelSource& s, const double* x, const double* y, int n, bool polar, const float* background,
                   const SampleSums& sums, std::int32_t* rest)
{
    alignas(16) std::int32_t column[Lanes + 4], row[Lanes + 4];
    double xs[Lanes + 4], ys[Lanes + 4];
    std::memcpy(xs, x, sizeof(double) * static_cast<std::size_t>(n));
    std::memcpy(ys, y, sizeof(double) * static_cast<std::size_t>(n));
    for (int k = n; k < (n + 3) / 4 * 4; ++k)
        xs[k] = ys[k] = -2; // spare lanes: outside, never read
    for (int k = 0; k < n; k += 4) {
        Store(column + k, NearestIndex4(Load<d4>(xs + k), s.width, polar));
        Store(row + k, NearestIndex4(Load<d4>(ys + k), s.height, polar));
    }
    int others = 0;
    for (int k = 0; k < n; ++k) {
        if (column[k] >= 0 && row[k] >= 0) {
            const std::uint8_t* p = s.pixelData + PixelOffset(s, column[k], row[k]);
            sums.blue[k] += p[0];
            sums.green[k] += p[1];
            sums.red[k] += p[2];
        } else if (background) {
            sums.blue[k] += background[0];
            sums.green[k] += background[1];
            sums.red[k] += background[2];
        } else {
            rest[others++] = k;
        }
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
