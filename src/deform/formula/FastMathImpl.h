// The fast kernels' vector types and arithmetic, written once with the
// compiler's generic vector types and compiled once per instruction set (see
// FastKernelsImpl.h, the only includer). Everything here has internal linkage.
//
// Transcendental functions run in double precision, 4 lanes at a time, with
// range reduction and polynomials accurate to a few double ulps, so that after
// rounding to single precision they give the same floats as the C library
// almost always and never differ by more than one unit in the last place.

#pragma once
#pragma GCC diagnostic ignored "-Wpsabi"

#include "deform/formula/FastKernels.h"

#include <immintrin.h>

#include <cstdint>
#include <cstring>

namespace krt::fast {
namespace {

typedef float f4 __attribute__((vector_size(16)));
typedef float f8 __attribute__((vector_size(32)));
typedef double d4 __attribute__((vector_size(32)));
typedef std::int32_t i4 __attribute__((vector_size(16)));
typedef std::int32_t i8 __attribute__((vector_size(32)));
typedef std::int64_t l4 __attribute__((vector_size(32)));

// Operation codes (the values of krt::Operation).
enum : std::uint8_t {
    OpNone,
    OpPower,
    OpMultiply,
    OpDivide,
    OpAdd,
    OpSubtract,
    OpSqrt,
    OpSin,
    OpCos,
    OpAsin,
    OpAcos,
    OpTan,
    OpAbs,
    OpAtan,
    OpInt,
    OpRandom
};

#define KRT_INLINE static inline __attribute__((always_inline))

template <class V> KRT_INLINE V Load(const void* p)
{
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}
template <class V> KRT_INLINE void Store(void* p, V v) { std::memcpy(p, &v, sizeof v); }

KRT_INLINE d4 Splat(double x) { return d4{x, x, x, x}; }
KRT_INLINE f8 Splat8(float x) { return f8{x, x, x, x, x, x, x, x}; }

// Bitwise select: mask lanes are all ones or all zeros.
KRT_INLINE d4 Select(l4 mask, d4 a, d4 b) { return (d4)(((l4)a & mask) | ((l4)b & ~mask)); }
KRT_INLINE f8 Select8(i8 mask, f8 a, f8 b) { return (f8)(((i8)a & mask) | ((i8)b & ~mask)); }
KRT_INLINE d4 Abs(d4 x) { return (d4)((l4)x & 0x7FFFFFFFFFFFFFFFLL); }
KRT_INLINE f8 Abs8(f8 x) { return (f8)((i8)x & 0x7FFFFFFF); }
KRT_INLINE d4 FlipSign(d4 x, l4 mask) { return (d4)((l4)x ^ (mask & (std::int64_t)0x8000000000000000ULL)); }

KRT_INLINE bool Any(l4 m) { return (m[0] | m[1] | m[2] | m[3]) != 0; }
KRT_INLINE bool Any8(i8 m) { return (m[0] | m[1] | m[2] | m[3] | m[4] | m[5] | m[6] | m[7]) != 0; }

KRT_INLINE d4 Sqrt(d4 x)
{
#if defined(__AVX__)
    return (d4)_mm256_sqrt_pd((__m256d)x);
#else
    __m128d lo, hi;
    std::memcpy(&lo, &x, 16);
    std::memcpy(&hi, reinterpret_cast<const char*>(&x) + 16, 16);
    lo = _mm_sqrt_pd(lo);
    hi = _mm_sqrt_pd(hi);
    d4 r;
    std::memcpy(&r, &lo, 16);
    std::memcpy(reinterpret_cast<char*>(&r) + 16, &hi, 16);
    return r;
#endif
}

KRT_INLINE f8 Sqrt8(f8 x)
{
#if defined(__AVX__)
    return (f8)_mm256_sqrt_ps((__m256)x);
#else
    __m128 lo, hi;
    std::memcpy(&lo, &x, 16);
    std::memcpy(&hi, reinterpret_cast<const char*>(&x) + 16, 16);
    lo = _mm_sqrt_ps(lo);
    hi = _mm_sqrt_ps(hi);
    f8 r;
    std::memcpy(&r, &lo, 16);
    std::memcpy(reinterpret_cast<char*>(&r) + 16, &hi, 16);
    return r;
#endif
}

// Lanes whose single-precision value is infinite or NaN.
KRT_INLINE i8 NotFinite8(f8 r) { return ~(Abs8(r) <= Splat8(3.40282347e+38f)); }
KRT_INLINE i4 NotFinite4(f4 r)
{
    const f4 a = (f4)((i4)r & 0x7FFFFFFF);
    return ~(a <= f4{3.40282347e+38f, 3.40282347e+38f, 3.40282347e+38f, 3.40282347e+38f});
}

// ---- sine and cosine -------------------------------------------------------

constexpr double TwoOverPi = 6.36619772367581382433e-01;
// pi/2 in three parts of 33 bits: k x part is exact for |k| < 2^20.
constexpr double Pio2Part1 = 1.57079632673412561417e+00;
constexpr double Pio2Part2 = 6.07710050630396597660e-11;
constexpr double Pio2Part3 = 2.02226624871116645580e-21;
constexpr double RoundMagic = 6755399441055744.0; // 1.5 x 2^52
// Beyond this the reduction above loses accuracy; such lanes use the library.
constexpr double TrigLimit = 524288.0;

constexpr double S1 = -1.66666666666666324348e-01, S2 = 8.33333333332248946124e-03, S3 = -1.98412698298579493134e-04,
                 S4 = 2.75573137070700676789e-06, S5 = -2.50507602534068634195e-08, S6 = 1.58969099521155010221e-10;
constexpr double C1 = 4.16666666666666019037e-02, C2 = -1.38888888888741095749e-03, C3 = 2.48015872894767294178e-05,
                 C4 = -2.75573143513906633035e-07, C5 = 2.08757232129817482790e-09, C6 = -1.13596475577881948265e-11;

struct SinCos {
    d4 s, c;
};

KRT_INLINE SinCos SinCosD(d4 x)
{
    const d4 shifted = x * TwoOverPi + RoundMagic;
    const d4 k = shifted - RoundMagic;
    const l4 quadrant = (l4)shifted & 3;
    const d4 r = ((x - k * Pio2Part1) - k * Pio2Part2) - k * Pio2Part3;
    const d4 z = r * r;
    const d4 sinR = r + r * z * (S1 + z * (S2 + z * (S3 + z * (S4 + z * (S5 + z * S6)))));
    const d4 cosR = (1.0 - 0.5 * z) + z * z * (C1 + z * (C2 + z * (C3 + z * (C4 + z * (C5 + z * C6)))));
    const l4 swap = (quadrant & 1) != 0;
    const l4 negateSin = (quadrant & 2) != 0;
    const l4 negateCos = ((quadrant + 1) & 2) != 0;
    return {FlipSign(Select(swap, cosR, sinR), negateSin), FlipSign(Select(swap, sinR, cosR), negateCos)};
}

// ---- arc tangent and its relatives -----------------------------------------

constexpr double Pio2 = 1.57079632679489661923;
constexpr double Pio4 = 7.85398163397448309616e-01;
constexpr double Tan3Pio8 = 2.41421356237309504880;
constexpr double MoreBits = 6.123233995736765886130e-17;
constexpr double P0 = -8.750608600031904122785e-01, P1 = -1.615753718733365076637e+01,
                 P2 = -7.500855792314704667340e+01, P3 = -1.228866684490136173410e+02,
                 P4 = -6.485021904942025371773e+01;
constexpr double Q0 = 2.485846490142306297962e+01, Q1 = 1.650270098316988542046e+02, Q2 = 4.328810604912902668951e+02,
                 Q3 = 4.853903996359136964868e+02, Q4 = 1.945506571482613964425e+02;

KRT_INLINE d4 AtanD(d4 x)
{
    const l4 negative = x < 0.0;
    const d4 ax = Abs(x);
    const l4 big = ax > Tan3Pio8;
    const l4 middle = ~big & (ax > 0.66);
    // -1/ax, (ax-1)/(ax+1) or ax, with one division.
    const d4 numerator = Select(big, Splat(-1.0), Select(middle, ax - 1.0, ax));
    const d4 denominator = Select(big, ax, Select(middle, ax + 1.0, Splat(1.0)));
    const d4 reduced = numerator / denominator;
    const d4 base = Select(big, Splat(Pio2), Select(middle, Splat(Pio4), Splat(0.0)));
    const d4 extra = Select(big, Splat(MoreBits), Select(middle, Splat(0.5 * MoreBits), Splat(0.0)));
    const d4 z = reduced * reduced;
    const d4 p = (((P0 * z + P1) * z + P2) * z + P3) * z + P4;
    const d4 q = ((((z + Q0) * z + Q1) * z + Q2) * z + Q3) * z + Q4;
    const d4 y = base + ((reduced * (z * p / q) + reduced) + extra);
    return FlipSign(y, negative);
}

KRT_INLINE d4 AsinD(d4 x) { return AtanD(x / Sqrt((1.0 - x) * (1.0 + x))); }
KRT_INLINE d4 AcosD(d4 x) { return 2.0 * AtanD(Sqrt((1.0 - x) / (1.0 + x))); }

} // namespace
} // namespace krt::fast
