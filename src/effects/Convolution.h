#pragma once

#include "core/FastBMP.h"

#include <array>
#include <cstdint>
#include <string>

namespace krt {

// A 3 x 3 filter: nine weights, column by column (left column top to bottom,
// then the middle and the right column), and a divisor that may be negative.
struct FilterKernel {
    std::array<std::int16_t, 9> weights{};
    std::int32_t divisor = 1;
};

// The numbers part of a filter record, "w1,w2,...,w9,d": each weight keeps
// the low 16 bits of its 32-bit value. Throws KrtError "'…' is not a valid
// integer value" at the first item that is not a decimal integer, and
// "Division by zero" for a divisor of 0.
FilterKernel ParseFilterNumbers(const std::string& numbers);

// How a convolution runs: rows shared among `threads` threads (0: one per
// core), with the best instruction set of the processor or a chosen one
// (tests compare them; KRT_NO_AVX2 in the environment makes the automatic
// choice SSE2). The result never depends on either.
struct ConvolveOptions {
    enum class Isa { Auto, Sse2, Avx2 };
    int threads = 0;
    Isa isa = Isa::Auto;
};

// Convolves the source (read only) into the destination of the same size:
// for each byte, the weighted sum of the nine neighbours (coordinates outside
// the picture clamped to its edge), in 32-bit integers, divided by the
// divisor truncating toward zero, clamped to 0..255.
void Convolve3x3(TFastBMP& destination, const TFastBMP& source, const FilterKernel& kernel,
                 const ConvolveOptions& options = {});

// Parses the numbers part of a record and convolves; a record that does not
// parse leaves the destination unchanged (KrtError).
void ApplyFilterString(TFastBMP& destination, const TFastBMP& source, const std::string& numbers,
                       const ConvolveOptions& options = {});

// Which instruction set the convolution runs with on this processor.
const char* ConvolutionBackendName();

} // namespace krt
