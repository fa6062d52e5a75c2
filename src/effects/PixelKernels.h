#pragma once

// Row kernels of the table effects, compiled once per instruction set
// (PixelKernelsAvx512.cpp for processors with AVX-512 VBMI, the plain C++ of
// PixelTables.cpp for the rest) and chosen at run time. They see only plain
// data from here.

#include <cstdint>

namespace krt::pixels {

// Maps `bytes` bytes (whole pixels) through three tables, blue, green, red in
// turn; `out` may be `in`.
using ChannelTablesRow = void (*)(const std::uint8_t* in, std::uint8_t* out, int bytes, const std::uint8_t* blue,
                                  const std::uint8_t* green, const std::uint8_t* red);
// Saturation of `pixels` pixels in place, each byte then mapped through `after`:
// c' = after[(c s >> 8) + g - (g s >> 8)], g the pixel's mean (truncated).
using SaturationRow = void (*)(std::uint8_t* pixels, int count, int s, const std::uint8_t* after);

struct Kernels {
    const char* name;
    ChannelTablesRow channelTables;
    SaturationRow saturation;
};

const Kernels& PlainKernels();
const Kernels& Avx512Kernels();
// The best the processor has (KRT_NO_AVX512 in the environment keeps to plain C++).
const Kernels& BestKernels();

} // namespace krt::pixels
