#pragma once

#include "core/FastBMP.h"

#include <string>

namespace krt::bench {

// A photo-like picture: smooth colour fields with fine detail, so that
// compression and warps see realistic data.
TFastBMP PhotoLikeImage(int width, int height);

// A scratch folder for files the benchmarks write.
std::string ScratchFolder();

} // namespace krt::bench
