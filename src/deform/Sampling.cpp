#include "deform/Sampling.h"

#include "deform/Warp.h"
#include "deform/formula/Evaluate.h"

#include <algorithm>
#include <cmath>

namespace krt {
namespace {

// Keys' cubic convolution kernel with a = -0.5.
double Keys(double t)
{
    constexpr double a = -0.5;
    t = std::abs(t);
    if (t <= 1)
        return ((a + 2) * t - (a + 3)) * t * t + 1;
    if (t < 2)
        return ((a * t - 5 * a) * t + 8 * a) * t - 4 * a;
    return 0;
}

// Beyond any picture: such points read as outside whatever the edge mode.
constexpr double Far = 1e9;

// The Cartesian rule: truncated toward zero above -1 (so -1 < v < 0 reads
// index 0), floored below, where only the edge modes read anything.
std::int64_t Truncated(double v) { return static_cast<std::int64_t>(v > -1 ? std::trunc(v) : std::floor(v)); }

void AddPixel(const TFastBMP& source, int column, int row, PackedColor background, float weight, float sum[3])
{
    if (column < 0 || row < 0) {
        sum[0] += weight * static_cast<float>(BlueOf(background));
        sum[1] += weight * static_cast<float>(GreenOf(background));
        sum[2] += weight * static_cast<float>(RedOf(background));
        return;
    }
    const std::uint8_t* p = source.RowTable[static_cast<std::size_t>(row)] + 3 * column;
    sum[0] += weight * p[0];
    sum[1] += weight * p[1];
    sum[2] += weight * p[2];
}

// A coordinate of a repeated (or mirrored, edge pixel repeated) picture
// moved into the picture's own period: 0 <= v < size, or, mirrored,
// -1/2 < v <= size - 1/2 (reflected about size - 1/2, where the edge pixel
// meets its mirror image). Far and NaN coordinates stay as they are.
double Folded(double v, int size, bool mirror)
{
    if (!(std::abs(v) < Far))
        return v;
    const double period = mirror ? 2.0 * size : size;
    v -= period * std::floor(v / period);
    return mirror && v > size - 0.5 ? 2.0 * size - 1 - v : v;
}

} // namespace

int EdgeIndex(std::int64_t i, int size, EdgeMode edge)
{
    if (i >= 0 && i < size)
        return static_cast<int>(i);
    switch (edge) {
    case EdgeMode::Background: return -1;
    case EdgeMode::Clamp: return i < 0 ? 0 : size - 1;
    case EdgeMode::Wrap: return static_cast<int>((i % size + size) % size);
    case EdgeMode::Mirror: {
        const std::int64_t m = (i % (2 * std::int64_t{size}) + 2 * std::int64_t{size}) % (2 * std::int64_t{size});
        return static_cast<int>(m < size ? m : 2 * std::int64_t{size} - 1 - m);
    }
    }
    return -1;
}

void AddSamples(const TFastBMP& source, const fast::Kernels& kernels, const double* sx, const double* sy, int n,
                const WarpQuality& quality, bool polar, PackedColor background, const fast::SampleSums& sums)
{
    std::int32_t rest[BlockSize];
    int others = 0;
    double foldedX[BlockSize], foldedY[BlockSize];
    // A repeated or mirrored picture reads the same between pixels at the
    // point folded back into it, where the vector road takes all but its
    // seams. (Not the nearest rule: it truncates toward zero, not down.)
    const bool fold =
        quality.sampling != Sampling::Nearest && (quality.edge == EdgeMode::Wrap || quality.edge == EdgeMode::Mirror);
    if (fold) {
        const bool mirror = quality.edge == EdgeMode::Mirror;
        for (int k = 0; k < n; ++k) {
            foldedX[k] = Folded(sx[k], source.Width, mirror);
            foldedY[k] = Folded(sy[k], source.Height, mirror);
        }
        sx = foldedX;
        sy = foldedY;
    }
    const fast::PixelSource pixels{source.PixelData, source.RowBytes, source.Width, source.Height};
    float outside[3] = {};
    AddBackground(background, outside);
    const float* beyond = quality.edge == EdgeMode::Background ? outside : nullptr;
    switch (quality.sampling) {
    case Sampling::Nearest: others = kernels.nearestSamples(pixels, sx, sy, n, polar, beyond, sums, rest); break;
    case Sampling::Bilinear: others = kernels.bilinearSamples(pixels, sx, sy, n, beyond, sums, rest); break;
    case Sampling::Bicubic: others = kernels.bicubicSamples(pixels, sx, sy, n, beyond, sums, rest); break;
    }
    for (int i = 0; i < others; ++i) {
        const int k = rest[i];
        float sum[3] = {};
        AddSample(source, sx[k], sy[k], quality, polar, background, sum);
        sums.blue[k] += sum[0];
        sums.green[k] += sum[1];
        sums.red[k] += sum[2];
    }
}

void AddBackground(PackedColor background, float sum[3])
{
    sum[0] += static_cast<float>(BlueOf(background));
    sum[1] += static_cast<float>(GreenOf(background));
    sum[2] += static_cast<float>(RedOf(background));
}

void AddSample(const TFastBMP& source, double sx, double sy, const WarpQuality& quality, bool polar,
               PackedColor background, float sum[3])
{
    const int W = source.Width, H = source.Height;
    if (!(std::abs(sx) < Far && std::abs(sy) < Far)) { // NaN too
        AddBackground(background, sum);
        return;
    }
    const EdgeMode edge = quality.edge;
    if (quality.sampling == Sampling::Nearest) {
        const std::int64_t i = polar ? RoundCoord(sx) : Truncated(sx);
        const std::int64_t j = polar ? RoundCoord(sy) : Truncated(sy);
        const int column = EdgeIndex(i, W, edge), row = EdgeIndex(j, H, edge);
        AddPixel(source, row < 0 ? -1 : column, column < 0 ? -1 : row, background, 1.0f, sum);
        return;
    }
    const double fx = std::floor(sx), fy = std::floor(sy);
    const double tx = sx - fx, ty = sy - fy;
    const auto x0 = static_cast<std::int64_t>(fx), y0 = static_cast<std::int64_t>(fy);
    const bool cubic = quality.sampling == Sampling::Bicubic;
    const int from = cubic ? -1 : 0, to = cubic ? 2 : 1;
    for (int dy = from; dy <= to; ++dy) {
        const double wy = cubic ? Keys(dy - ty) : (dy == 0 ? 1 - ty : ty);
        if (wy == 0)
            continue;
        const int row = EdgeIndex(y0 + dy, H, edge);
        for (int dx = from; dx <= to; ++dx) {
            const double wx = cubic ? Keys(dx - tx) : (dx == 0 ? 1 - tx : tx);
            if (wx == 0)
                continue;
            const int column = EdgeIndex(x0 + dx, W, edge);
            AddPixel(source, row < 0 ? -1 : column, column < 0 ? -1 : row, background, static_cast<float>(wx * wy),
                     sum);
        }
    }
}

} // namespace krt
