#pragma once

#include "core/Color.h"
#include "core/FastBMP.h"
#include "deform/formula/FastKernels.h"

#include <cmath>
#include <cstdint>

namespace krt {

// How a warp reads its source where the formulas point between pixels.
enum class Sampling {
    Nearest,  // one pixel, by the warp's own rule (Cartesian truncates, polar rounds halves up)
    Bilinear, // the four pixels around the point, by distance
    Bicubic,  // sixteen pixels, Keys' cubic convolution with a = -0.5
};

// What a sample outside the source gets.
enum class EdgeMode {
    Background, // the background colour
    Clamp,      // the nearest edge pixel
    Wrap,       // the picture repeated
    Mirror,     // the picture mirrored, the edge pixel repeated: ... W-2, W-1 | W-1, W-2 ...
};

// The warp's sampling: the plain rule (one nearest pixel per destination
// pixel, the background outside) unless told otherwise. `samples` per side
// of a destination pixel: 1, 2 or 4, taken at x + (i + 1/2)/n - 1/2 and
// averaged with equal weights; 0 chooses for each pixel from how much the
// warp shrinks there (Adaptive).
constexpr int Adaptive = 0;
struct WarpQuality {
    Sampling sampling = Sampling::Nearest;
    int samples = 1;
    EdgeMode edge = EdgeMode::Background;

    bool Plain() const { return sampling == Sampling::Nearest && samples == 1 && edge == EdgeMode::Background; }
};

// The source index along a side of `size` pixels that index i reads under
// the edge mode; -1 for the background.
int EdgeIndex(std::int64_t i, int size, EdgeMode edge);

// Adds the colour at source point (sx, sy) to sum (blue, green, red), pixel
// (i, j) being the value at the point (i, j). Nearest takes the pixel the
// warp's rule names (`polar`: rounding, else truncation toward zero).
void AddSample(const TFastBMP& source, double sx, double sy, const WarpQuality& quality, bool polar,
               PackedColor background, float sum[3]);

// AddSample for the n points of a block (NaN for the background), into the
// block's sums: the vector kernels read the points inside the picture (and,
// with the background edge, those wholly outside), AddSample the rest.
void AddSamples(const TFastBMP& source, const fast::Kernels& kernels, const double* sx, const double* sy, int n,
                const WarpQuality& quality, bool polar, PackedColor background, const fast::SampleSums& sums);

// Adaptive supersampling: points per side of a pixel whose neighbours'
// source points lie `spread` pixels from its own: one where the warp does not
// shrink, about k where it shrinks by k, at most MostSamplesPerSide (also for
// NaN and infinite spreads). A hundredth is allowed for the rounding of the
// formulas' single-precision results, so that an exact shrink by k takes k
// points on every pixel, not k + 1 on some.
constexpr int MostSamplesPerSide = 8;
inline int AdaptiveSamples(double spread)
{
    const double side = std::ceil(spread - 0.01);
    return side >= MostSamplesPerSide ? MostSamplesPerSide : side > 1 ? static_cast<int>(side) : 1;
}

// A channel's sum of weighted levels as a level: rounded to nearest (halves
// up) and kept within 0 ... 255 (bicubic weights overshoot both ways).
inline std::uint8_t RoundedLevel(float v)
{
    const float r = v + 0.5f;
    return r <= 0 ? 0 : r >= 255 ? 255 : static_cast<std::uint8_t>(static_cast<int>(r));
}

// Adds the background colour to sum: a point that failed or that no
// formula value reaches.
void AddBackground(PackedColor background, float sum[3]);

} // namespace krt
