#pragma once

#include "core/FastBMP.h"

#include <array>
#include <cstdint>

namespace krt {

using ByteTable = std::array<std::uint8_t, 256>;

// Every pixel of the destination becomes the source pixel mapped through one
// table per channel (blue, green, red). Destination and source may be one
// buffer. Rows are shared among `threads` threads (0: one per core); AVX-512
// VBMI is used where the processor has it. Neither changes the result.
void ApplyChannelTables(TFastBMP& destination, const TFastBMP& source, const ByteTable& blue, const ByteTable& green,
                        const ByteTable& red, int threads = 0);

} // namespace krt
