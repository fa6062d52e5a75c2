// The fast kernels, written once with the compiler's generic vector types and
// compiled once per instruction set. Included only by FastKernelsSse2.cpp and
// FastKernelsAvx2.cpp; everything here has internal linkage and calls no
// inline code of other headers.
//
// Single-precision operations run 8 lanes at a time; the transcendental
// functions of FastMathImpl.h run 4 lanes at a time in double precision.

#pragma once

#include "deform/formula/FastMathImpl.h"

namespace krt::fast {
namespace {

// ---- the block program -----------------------------------------------------

struct Context {
    const ProgramView& program;
    const std::uint32_t* points;
    std::int32_t* fail;
};

// Hands lane i of an instruction to the scalar rules.
KRT_INLINE void ScalarLane(const Context& ctx, const Instruction& in, const float* a, const float* b, float* r, int i)
{
    float v = 0;
    if (!ctx.program.scalar(in.op, a[i], b[i], ctx.program.seed, ctx.points[i], in.index, &v))
        ctx.fail[i] = -1;
    r[i] = v;
}

KRT_INLINE void Binary(std::uint8_t op, const float* a, const float* b, float* r, std::int32_t* fail)
{
    for (int i = 0; i < Lanes; i += 8) {
        const f8 x = Load<f8>(a + i), y = Load<f8>(b + i);
        f8 v;
        switch (op) {
        case OpAdd: v = x + y; break;
        case OpSubtract: v = x - y; break;
        case OpMultiply: v = x * y; break;
        default: v = x / y; break;
        }
        Store(r + i, v);
        Store(fail + i, Load<i8>(fail + i) | NotFinite8(v));
    }
}

KRT_INLINE void Power(const Context& ctx, const Instruction& in, const float* a, const float* b, float* r)
{
    for (int i = 0; i < Lanes; i += 8) {
        const f8 x = Load<f8>(a + i), e = Load<f8>(b + i);
        const i8 one = e == Splat8(1.0f), three = e == Splat8(3.0f);
        if (!Any8(~one)) {
            Store(r + i, x);
        } else if (!Any8(~three)) {
            // The cube in double precision, rounded once.
            for (int h = 0; h < 8; h += 4) {
                const d4 d = __builtin_convertvector(Load<f4>(a + i + h), d4);
                const f4 v = __builtin_convertvector(d * d * d, f4);
                Store(r + i + h, v);
                Store(ctx.fail + i + h, Load<i4>(ctx.fail + i + h) | NotFinite4(v));
            }
        } else {
            for (int k = i; k < i + 8; ++k)
                ScalarLane(ctx, in, a, b, r, k);
        }
    }
}

KRT_INLINE void Truncate(const float* a, float* r, std::int32_t* fail)
{
    for (int i = 0; i < Lanes; i += 8) {
        const f8 x = Load<f8>(a + i);
        const i8 inRange = (x >= Splat8(-2147483648.0f)) & (x < Splat8(2147483648.0f));
        const i8 n = __builtin_convertvector(Select8(inRange, x, Splat8(0.0f)), i8);
        Store(r + i, __builtin_convertvector(n, f8));
        Store(fail + i, Load<i8>(fail + i) | ~inRange);
    }
}

KRT_INLINE void Transcendental(const Context& ctx, const Instruction& in, const float* a, float* r)
{
    const std::uint8_t op = in.op;
    for (int i = 0; i < Lanes; i += 4) {
        const d4 x = __builtin_convertvector(Load<f4>(a + i), d4);
        d4 v;
        switch (op) {
        case OpSin: v = SinCosD(x).s; break;
        case OpCos: v = SinCosD(x).c; break;
        case OpTan: {
            const SinCos sc = SinCosD(x);
            v = sc.s / sc.c;
            break;
        }
        case OpAsin: v = AsinD(x); break;
        case OpAcos: v = AcosD(x); break;
        default: v = AtanD(x); break;
        }
        const f4 rounded = __builtin_convertvector(v, f4);
        Store(r + i, rounded);
        // Angles too large for the reduction above go to the C library.
        const bool trig = op == OpSin || op == OpCos || op == OpTan;
        const l4 huge = trig ? ~(Abs(x) <= TrigLimit) : l4{0, 0, 0, 0};
        Store(ctx.fail + i, Load<i4>(ctx.fail + i) | (NotFinite4(rounded) & ~__builtin_convertvector(huge, i4)));
        if (trig && Any(huge))
            for (int k = 0; k < 4; ++k)
                if (huge[k])
                    ScalarLane(ctx, in, a, a, r, i + k);
    }
}

void Run(const ProgramView& program, float* const* slots, const std::uint32_t* points, std::int32_t* fail)
{
    const Context ctx{program, points, fail};
    for (int index = 0; index < program.count; ++index) {
        const Instruction& in = program.instructions[index];
        const float* a = slots[in.a];
        const float* b = slots[in.b];
        float* r = slots[in.r];
        switch (in.op) {
        case OpAdd:
        case OpSubtract:
        case OpMultiply:
        case OpDivide: Binary(in.op, a, b, r, fail); break;
        case OpSqrt:
            for (int i = 0; i < Lanes; i += 8) {
                const f8 v = Sqrt8(Load<f8>(a + i));
                Store(r + i, v);
                Store(fail + i, Load<i8>(fail + i) | NotFinite8(v));
            }
            break;
        case OpAbs:
            for (int i = 0; i < Lanes; i += 8)
                Store(r + i, Abs8(Load<f8>(a + i)));
            break;
        case OpInt: Truncate(a, r, fail); break;
        case OpPower: Power(ctx, in, a, b, r); break;
        case OpSin:
        case OpCos:
        case OpTan:
        case OpAsin:
        case OpAcos:
        case OpAtan: Transcendental(ctx, in, a, r); break;
        default: // random, and anything else the scalar rules know
            for (int i = 0; i < Lanes; ++i)
                ScalarLane(ctx, in, a, b, r, i);
            break;
        }
    }
}

// ---- the polar warp --------------------------------------------------------

void PolarInputs(const double* dx, const double* dy, float* t, float* r)
{
    for (int i = 0; i < Lanes; i += 4) {
        const d4 x = Load<d4>(dx + i), y = Load<d4>(dy + i);
        // Half a turn is added as 3.142, not pi.
        const d4 angle = AtanD(y / x) + Select(x < 0.0, Splat(3.142), Splat(0.0));
        Store(t + i, __builtin_convertvector(angle, f4));
        Store(r + i, __builtin_convertvector(Sqrt(x * x + y * y), f4));
    }
}

// RoundCoord: halves round up for v >= 0; negative values truncate toward zero.
// Lanes beyond +-2^30 (far outside any image) give -1.
KRT_INLINE i4 RoundCoordD(d4 v, l4 valid)
{
    const l4 usable = valid & (Abs(v) < 1073741824.0);
    const d4 safe = Select(usable, v, Splat(0.0));
    const i4 n = __builtin_convertvector(safe, i4);
    const d4 nd = __builtin_convertvector(n, d4);
    const l4 keep = (nd + 1.0 - safe) > (safe - nd);
    const i4 rounded = n + (__builtin_convertvector(keep, i4) + 1); // keep: n, else n + 1
    const i4 ok = __builtin_convertvector(usable, i4);
    return (rounded & ok) | (i4{-1, -1, -1, -1} & ~ok);
}

// Where T' and R' put four points (cos T' x R' + centre, likewise sin, then
// scaled); `valid`: the lanes that are mapped.
KRT_INLINE void PolarPoint4(const float* t, const float* r, const std::int32_t* failT, const std::int32_t* failR,
                            const PolarPlacement& p, ScalarSinCos sincos, int i, l4& valid, d4& x, d4& y)
{
    const f4 tf = Load<f4>(t + i), rf = Load<f4>(r + i);
    const d4 angle = __builtin_convertvector(tf, d4);
    const d4 radius = __builtin_convertvector(rf, d4);
    const i4 failed = Load<i4>(failT + i) | Load<i4>(failR + i);
    const i4 mapped =
        ~failed & ~(tf == f4{-1237.0f, -1237.0f, -1237.0f, -1237.0f}) & (rf >= f4{0.0f, 0.0f, 0.0f, 0.0f});
    valid = __builtin_convertvector(mapped, l4);
    SinCos sc = SinCosD(Select(valid, angle, Splat(0.0)));
    const l4 huge = valid & ~(Abs(angle) <= TrigLimit);
    if (Any(huge))
        for (int k = 0; k < 4; ++k)
            if (huge[k]) {
                double s = 0, c = 0;
                sincos(angle[k], &s, &c);
                sc.s[k] = s;
                sc.c[k] = c;
            }
    x = sc.c * radius + p.centreX;
    y = sc.s * radius + p.centreY;
    if (p.scaled) {
        x = x * p.mulX / p.divX;
        y = y * p.mulY / p.divY;
    }
}

void PolarPlace(const float* t, const float* r, const std::int32_t* failT, const std::int32_t* failR,
                const PolarPlacement& p, ScalarSinCos sincos, std::int32_t* column, std::int32_t* row)
{
    for (int i = 0; i < Lanes; i += 4) {
        l4 valid;
        d4 x, y;
        PolarPoint4(t, r, failT, failR, p, sincos, i, valid, x, y);
        Store(column + i, RoundCoordD(x, valid));
        Store(row + i, RoundCoordD(y, valid));
    }
}

void PolarPoints(const float* t, const float* r, const std::int32_t* failT, const std::int32_t* failR,
                 const PolarPlacement& p, ScalarSinCos sincos, double* xs, double* ys)
{
    const d4 none = Splat(__builtin_nan(""));
    for (int i = 0; i < Lanes; i += 4) {
        l4 valid;
        d4 x, y;
        PolarPoint4(t, r, failT, failR, p, sincos, i, valid, x, y);
        Store(xs + i, Select(valid, x, none));
        Store(ys + i, Select(valid, y, none));
    }
}

// ---- moving pixels ---------------------------------------------------------

KRT_INLINE std::int64_t PixelOffset(const PixelSource& s, std::int32_t column, std::int32_t row)
{
    return static_cast<std::int64_t>(s.height - 1 - row) * s.rowBytes + 3 * column;
}

KRT_INLINE void PlaceScalar(std::uint8_t* d, const PixelSource& s, const std::int32_t* column, const std::int32_t* row,
                            int from, int n, std::uint32_t background)
{
    for (int k = from; k < n; ++k, d += 3) {
        const std::int32_t x = column[k], y = row[k];
        if (static_cast<std::uint32_t>(x) < static_cast<std::uint32_t>(s.width) &&
            static_cast<std::uint32_t>(y) < static_cast<std::uint32_t>(s.height)) {
            const std::uint8_t* p = s.pixelData + PixelOffset(s, x, y);
            d[0] = p[0];
            d[1] = p[1];
            d[2] = p[2];
        } else {
            d[0] = static_cast<std::uint8_t>(background);
            d[1] = static_cast<std::uint8_t>(background >> 8);
            d[2] = static_cast<std::uint8_t>(background >> 16);
        }
    }
}

#if defined(__AVX2__)
// Moves eight pixels given their coordinates; offsets must fit 31 bits.
struct Placer8 {
    explicit Placer8(const PixelSource& s, std::uint32_t background)
        : source(s), width(_mm256_set1_epi32(s.width)), height(_mm256_set1_epi32(s.height)),
          top(_mm256_set1_epi32(s.height - 1)), rowBytes(_mm256_set1_epi32(s.rowBytes)),
          fill(_mm256_set1_epi32(static_cast<int>(background))),
          pack(_mm256_setr_epi8(0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13, 14, -1, -1, -1, -1, 0, 1, 2, 4, 5, 6, 8, 9, 10, 12,
                                13, 14, -1, -1, -1, -1))
    {}

    static bool Usable(const PixelSource& s) { return static_cast<std::int64_t>(s.height) * s.rowBytes < 0x7FFFFF00LL; }

    inline __attribute__((always_inline)) void Place(std::uint8_t* d, __m256i x, __m256i y, __m256i valid) const
    {
        const __m256i minusOne = _mm256_set1_epi32(-1);
        const __m256i inside = _mm256_and_si256(
            valid, _mm256_and_si256(_mm256_and_si256(_mm256_cmpgt_epi32(x, minusOne), _mm256_cmpgt_epi32(width, x)),
                                    _mm256_and_si256(_mm256_cmpgt_epi32(y, minusOne), _mm256_cmpgt_epi32(height, y))));
        // Eight neighbours in one source row (shifts, waves, tiles) copy as one run.
        const __m256i x0 = _mm256_permutevar8x32_epi32(x, _mm256_setzero_si256());
        const __m256i y0 = _mm256_permutevar8x32_epi32(y, _mm256_setzero_si256());
        const __m256i run = _mm256_and_si256(
            inside,
            _mm256_and_si256(_mm256_cmpeq_epi32(x, _mm256_add_epi32(x0, _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7))),
                             _mm256_cmpeq_epi32(y, y0)));
        if (_mm256_movemask_ps(_mm256_castsi256_ps(run)) == 0xFF) {
            const std::uint8_t* s =
                source.pixelData +
                static_cast<std::int64_t>(source.height - 1 - _mm256_cvtsi256_si32(y)) * source.rowBytes +
                3 * _mm256_cvtsi256_si32(x);
            std::memcpy(d, s, 16);
            std::memcpy(d + 16, s + 16, 8);
            return;
        }
        const __m256i offset =
            _mm256_and_si256(inside, _mm256_add_epi32(_mm256_mullo_epi32(_mm256_sub_epi32(top, y), rowBytes),
                                                      _mm256_add_epi32(x, _mm256_add_epi32(x, x))));
        const __m256i pixels =
            _mm256_mask_i32gather_epi32(fill, reinterpret_cast<const int*>(source.pixelData), offset, inside, 1);
        const __m256i packed = _mm256_shuffle_epi8(pixels, pack);
        const __m128i low = _mm256_castsi256_si128(packed), high = _mm256_extracti128_si256(packed, 1);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d), low);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(d + 12), high);
        const std::int32_t last = _mm_extract_epi32(high, 2);
        std::memcpy(d + 20, &last, 4);
    }

    const PixelSource& source;
    __m256i width, height, top, rowBytes, fill, pack;
};
#endif

void PlacePixels(std::uint8_t* d, const PixelSource& s, const std::int32_t* column, const std::int32_t* row, int n,
                 std::uint32_t background)
{
    int k = 0;
#if defined(__AVX2__)
    if (Placer8::Usable(s)) {
        const Placer8 placer(s, background);
        for (; k + 8 <= n; k += 8, d += 24)
            placer.Place(d, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(column + k)),
                         _mm256_loadu_si256(reinterpret_cast<const __m256i*>(row + k)), _mm256_set1_epi32(-1));
    }
#endif
    PlaceScalar(d, s, column, row, k, n, background);
}

// A full-size Cartesian coordinate (see Kernels::placeCartesian).
KRT_INLINE std::int32_t CartesianCoordinate(float v, std::int32_t failed)
{
    const bool usable = failed == 0 && v > -1.0f && v < 65536.0f;
    return usable ? static_cast<std::int32_t>(v) : -1;
}

void PlaceCartesian(std::uint8_t* d, const PixelSource& s, const float* x, const std::int32_t* failX, const float* y,
                    const std::int32_t* failY, int n, std::uint32_t background)
{
    int k = 0;
#if defined(__AVX2__)
    if (Placer8::Usable(s)) {
        const Placer8 placer(s, background);
        const __m256 low = _mm256_set1_ps(-1.0f), high = _mm256_set1_ps(65536.0f);
        for (; k + 8 <= n; k += 8, d += 24) {
            const __m256 vx = _mm256_loadu_ps(x + k), vy = _mm256_loadu_ps(y + k);
            const __m256i failed = _mm256_or_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(failX + k)),
                                                   _mm256_loadu_si256(reinterpret_cast<const __m256i*>(failY + k)));
            const __m256 range =
                _mm256_and_ps(_mm256_and_ps(_mm256_cmp_ps(vx, low, _CMP_GT_OQ), _mm256_cmp_ps(vx, high, _CMP_LT_OQ)),
                              _mm256_and_ps(_mm256_cmp_ps(vy, low, _CMP_GT_OQ), _mm256_cmp_ps(vy, high, _CMP_LT_OQ)));
            const __m256i valid =
                _mm256_and_si256(_mm256_cmpeq_epi32(failed, _mm256_setzero_si256()), _mm256_castps_si256(range));
            // Lanes out of range convert to garbage, which `valid` masks.
            const __m256i cx = _mm256_cvttps_epi32(_mm256_and_ps(vx, range));
            const __m256i cy = _mm256_cvttps_epi32(_mm256_and_ps(vy, range));
            placer.Place(d, cx, cy, valid);
        }
    }
#endif
    for (; k < n; ++k, d += 3) {
        const std::int32_t column = CartesianCoordinate(x[k], failX[k]);
        const std::int32_t row = CartesianCoordinate(y[k], failY[k]);
        PlaceScalar(d, s, &column, &row, 0, 1, background);
    }
}

} // namespace
} // namespace krt::fast
