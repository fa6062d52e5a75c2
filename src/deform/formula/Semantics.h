#pragma once

// The value rules of formula operations, shared by every evaluator so that all
// of them give the same floats. Operands and results are single precision; the
// arithmetic is done in double precision and rounded once, which for + - * /
// and square root equals the correctly rounded single-precision result.

#include "deform/formula/FormulaProgram.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace krt {

// 31 random bits for one use of random: a function of the program's seed, the
// point and the instruction, so every evaluator and every thread draws the
// same numbers for the same point.
inline std::uint32_t RandomBits(std::uint32_t seed, std::uint32_t point, std::uint32_t instruction)
{
    std::uint32_t x = seed ^ (point * 0x9E3779B9u) ^ ((instruction + 1) * 0x85EBCA6Bu);
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    x ^= point >> 16;
    x *= 0x9E3779B1u;
    x ^= x >> 15;
    return x & 0x7FFFFFFFu;
}

// A value a single-precision slot can hold: neither infinite nor NaN.
inline bool Representable(double v) { return std::isfinite(static_cast<float>(v)); }

// Truncation toward zero to a 32-bit integer; false when out of range.
inline bool TruncateToInt32(float a, std::int32_t& n)
{
    if (!(a >= -2147483648.0f && a < 2147483648.0f))
        return false;
    n = static_cast<std::int32_t>(a);
    return true;
}

// The power cases that fail: 0^0, a negative base with a non-integer
// exponent, and 0 to a negative exponent.
inline bool PowerFails(double base, double exponent)
{
    return (base == 0 && exponent == 0) || (base < 0 && exponent != std::trunc(exponent)) ||
           (base == 0 && exponent < 0);
}

inline float Store(double v) { return static_cast<float>(v); }

// One instruction at run time. `randomBits` is used by random only. Returns
// false when the point fails.
inline bool RunOperation(Operation op, float a, float b, std::uint32_t randomBits, float& r)
{
    double v = 0;
    switch (op) {
    case Operation::Add: v = static_cast<double>(a) + b; break;
    case Operation::Subtract: v = static_cast<double>(a) - b; break;
    case Operation::Multiply: v = static_cast<double>(a) * b; break;
    case Operation::Divide:
        if (b == 0)
            return false;
        v = static_cast<double>(a) / b;
        break;
    case Operation::Power:
        if (b == 1.0f) {
            r = a;
            return true;
        }
        if (b == 3.0f) {
            v = static_cast<double>(a) * a * a;
            break;
        }
        if (PowerFails(a, b)) {
            r = -1.0f;
            return false;
        }
        v = std::pow(static_cast<double>(a), static_cast<double>(b));
        break;
    case Operation::Sqrt:
        if (a < 0)
            return false;
        v = std::sqrt(static_cast<double>(a));
        break;
    case Operation::Sin: v = std::sin(static_cast<double>(a)); break;
    case Operation::Cos: v = std::cos(static_cast<double>(a)); break;
    case Operation::Tan: v = std::tan(static_cast<double>(a)); break;
    case Operation::Asin: v = std::asin(static_cast<double>(a)); break;
    case Operation::Acos: v = std::acos(static_cast<double>(a)); break;
    case Operation::Atan: v = std::atan(static_cast<double>(a)); break;
    case Operation::Abs: v = std::fabs(static_cast<double>(a)); break;
    case Operation::Int: {
        std::int32_t n = 0;
        if (!TruncateToInt32(a, n))
            return false;
        v = n;
        break;
    }
    case Operation::Random: {
        std::int32_t n = 0;
        if (!TruncateToInt32(a, n))
            return false;
        v = n == 0 ? 0
                   : static_cast<double>(randomBits %
                                         static_cast<std::uint32_t>(n < 0 ? -static_cast<std::int64_t>(n) : n));
        break;
    }
    case Operation::None: return false;
    }
    r = Store(v);
    return std::isfinite(r);
}

} // namespace krt
