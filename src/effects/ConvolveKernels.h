#pragma once

// The vectorised row kernels of the 3 x 3 convolution, compiled once per
// instruction set (ConvolveSse2.cpp, ConvolveAvx2.cpp) and chosen at run time.
// They see only plain data from here, so nothing compiled for AVX2 can end up
// on the SSE2 path.

#include <cstdint>

namespace krt::conv {

// Division truncating toward zero by a constant: q = n / d for every n the
// convolution can produce (|n| < 2^31).
struct Divider {
    enum Mode : std::int32_t { Same, Negate, Zero, Magic } mode = Same;
    std::int32_t magic = 0;  // for |d| >= 2: the multiplier and shift of the
    std::int32_t shift = 0;  // division by |d|; the result is negated when
    std::int32_t negate = 0; // d < 0 (negate = 1)
};

// One output row: three padded source rows (the row above, the row itself,
// the row below), each the row's bytes with one more pixel at either end
// repeating the edge pixel, and at least 64 bytes of slack after it.
struct RowJob {
    const std::uint8_t* rows[3];
    std::uint8_t* out;
    int bytes; // 3 x width
    // Weights in the pairs the kernels multiply together, tap k (1..9) at
    // rows[(k - 1) % 3] + 3 * ((k - 1) / 3): (w1, w2), (w3, w4), (w5, w6),
    // (w7, w8), (w9, 0).
    std::int16_t pairs[10];
    Divider divider;
};

// Convolves the leading bytes of a row in whole chunks; returns how many
// bytes it wrote (the caller writes the rest).
using RowKernel = int (*)(const RowJob& job);
RowKernel RowKernelSse2();
RowKernel RowKernelAvx2();

} // namespace krt::conv
