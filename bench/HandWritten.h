#pragma once

#include "core/FastBMP.h"

namespace krt::bench {

// The yardstick: the two benchmark warps written directly in C++, scalar,
// the way one would write them without a formula engine (compiled with -O2).

// X = x + a*sin(y/(b+1)), Y = y; source coordinates; white outside.
void HandWrittenWave(const TFastBMP& source, TFastBMP& destination, float a, float b);
// T = t + k*max(0, 1 - r/(w/2)), R = r around the centre; source coordinates.
void HandWrittenSwirl(const TFastBMP& source, TFastBMP& destination, float k);

} // namespace krt::bench
