#pragma once

#include "core/FastBMP.h"

#include <string>

namespace krt::bench {

// A photo-like picture: smooth colour fields with fine detail, so that
// compression and warps see realistic data.
TFastBMP PhotoLikeImage(int width, int height);
// The 6000 x 4000 photo-like picture, made once for a whole benchmark program.
const TFastBMP& Photo24();

// A scratch folder for files the benchmarks write.
std::string ScratchFolder();

} // namespace krt::bench
