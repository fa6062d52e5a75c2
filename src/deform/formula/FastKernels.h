#pragma once

// The vectorised kernels of the fast formula backend and of the polar warp,
// compiled once per instruction set (FastKernelsSse2.cpp, FastKernelsAvx2.cpp)
// and chosen at run time. The kernel files see only plain data and function
// pointers from here: they share no inline code with the rest of the program,
// so nothing compiled for AVX2 can end up on the SSE2 path.

#include <cstdint>

namespace krt::fast {

// One instruction as the kernels read it.
struct Instruction {
    std::uint8_t op; // krt::Operation
    std::uint8_t a;
    std::uint8_t b;
    std::uint8_t r;
    std::uint16_t index; // its place in the program, for random numbers
};

// The scalar evaluation of one operation, for lanes the vector code hands back
// (random, general powers, huge angles). Returns false when the point fails.
using ScalarOperation = bool (*)(std::uint8_t op, float a, float b, std::uint32_t seed, std::uint32_t point,
                                 std::uint32_t instruction, float* r);
// Scalar sine and cosine of huge angles.
using ScalarSinCos = void (*)(double x, double* s, double* c);

struct ProgramView {
    const Instruction* instructions;
    int count;
    std::uint32_t seed;
    ScalarOperation scalar;
};

// Lanes per block, as in BlockSize.
constexpr int Lanes = 256;

struct PolarPlacement {
    double centreX, centreY; // added to cos T x R and sin T x R
    bool scaled;             // then, for the preview, multiplied and divided:
    double mulX, divX;
    double mulY, divY;
};

// A source bitmap as the pixel mover reads it: rows bottom-up, RowBytes apart.
struct PixelSource {
    const std::uint8_t* pixelData;
    int rowBytes;
    int width;
    int height;
};

// A block's samples summed channel by channel, Lanes values each.
struct SampleSums {
    float* blue;
    float* green;
    float* red;
};

struct Kernels {
    const char* name;
    // Runs the instructions over one block. slots[s] points at the Lanes values
    // of slot s; fail: Lanes flags, set to -1 where a point fails.
    void (*run)(const ProgramView& program, float* const* slots, const std::uint32_t* points, std::int32_t* fail);
    // Polar inputs of a block: t = atan(dy / dx), plus 3.142 where dx < 0,
    // and r = sqrt(dx^2 + dy^2), both rounded to single precision.
    void (*polarInputs)(const double* dx, const double* dy, float* t, float* r);
    // Polar placement of a block: where T' and R' put each point, rounded by
    // RoundCoord; -1 for points that are not mapped (a failed point, T' of
    // exactly -1237, a negative R') or that land implausibly far away.
    void (*polarPlace)(const float* t, const float* r, const std::int32_t* failT, const std::int32_t* failR,
                       const PolarPlacement& placement, ScalarSinCos sincos, std::int32_t* column, std::int32_t* row);
    // Polar source points of a block, for a warp that samples between pixels:
    // cos T' x R' + centreX and sin T' x R' + centreY (then scaled as
    // placement says), NaN for points that are not mapped.
    void (*polarPoints)(const float* t, const float* r, const std::int32_t* failT, const std::int32_t* failR,
                        const PolarPlacement& placement, ScalarSinCos sincos, double* x, double* y);
    // Adds to the sums the bilinear value at each of the n source points
    // (x[k], y[k]) whose four pixels lie inside the source (pixel (i, j) being
    // the value at the point (i, j), rows counted from the top); writes the
    // indices of the other points (outside, near an edge, NaN) to `rest` and
    // returns how many there are. With `background` (blue, green, red),
    // points none of whose pixels lies inside add it instead.
    int (*bilinearSamples)(const PixelSource& source, const double* x, const double* y, int n, const float* background,
                           const SampleSums& sums, std::int32_t* rest);
    // The same for bicubic reading (Keys, a = -1/2) of points whose sixteen
    // pixels lie inside.
    int (*bicubicSamples)(const PixelSource& source, const double* x, const double* y, int n, const float* background,
                          const SampleSums& sums, std::int32_t* rest);
    // The same for the warp's own nearest rule (`polar`: rounding, else
    // truncation toward zero) at points whose pixel lies inside; with
    // `background`, every other point adds it.
    int (*nearestSamples)(const PixelSource& source, const double* x, const double* y, int n, bool polar,
                          const float* background, const SampleSums& sums, std::int32_t* rest);
    // Writes n destination pixels, each channel its sum times `share`
    // rounded to nearest (halves up) and kept within 0 ... 255.
    void (*storeAverages)(const SampleSums& sums, int n, float share, std::uint8_t* destination);
    // Fills n destination pixels: each takes the source pixel at (column[k],
    // row[k]), or the background when that lies outside. Reads one byte past a
    // source pixel (the pixel area has slack for it); writes exactly 3 x n bytes.
    void (*placePixels)(std::uint8_t* destination, const PixelSource& source, const std::int32_t* column,
                        const std::int32_t* row, int n, std::uint32_t background);
    // The same for the full-size Cartesian warp, straight from the formulas'
    // results: a coordinate is its value truncated toward zero; a failed point,
    // or a value not above -1 or not below 65536, lies outside.
    void (*placeCartesian)(std::uint8_t* destination, const PixelSource& source, const float* x,
                           const std::int32_t* failX, const float* y, const std::int32_t* failY, int n,
                           std::uint32_t background);
};

const Kernels& KernelsSse2();
const Kernels& KernelsAvx2();

} // namespace krt::fast
