#include "deform/SampledRows.h"

#include "deform/Sampling.h"
#include "deform/formula/FastBackend.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace krt {
namespace {

// Each sub-sample position of each block is a grid of its own for the
// evaluators' caches (its column inputs follow the block and i, its row
// inputs the row and j): n(n - 1)/2 + i numbers the (n, i) pairs up to n = 8.
constexpr int GridSlots = 36;
int GridSlot(int n, int i) { return n * (n - 1) / 2 + i; }

constexpr double None = std::numeric_limits<double>::quiet_NaN();

} // namespace

SampledRows::SampledRows(WarpJob& j, BlockEvaluator& f, BlockEvaluator& s, const std::vector<float>& x,
                         const std::vector<float>& c)
    : job(j), first(f), second(s), columnX(x),
      columnC(c), scale{j.geometry.preview ? static_cast<double>(j.geometry.formulaWidth) / j.destination.Width : 1.0,
                        j.geometry.preview ? static_cast<double>(j.geometry.formulaHeight) / j.destination.Height : 1.0}
{
    const std::size_t blocks = static_cast<std::size_t>((j.destination.Width + Lanes - 1) / Lanes);
    belowX.resize(blocks * Lanes);
    belowY.resize(blocks * Lanes);
    belowRow.assign(blocks, -1);
}

void SampledRows::UniformPass(int n, double ox, double oy)
{
    pass.count = n;
    pass.uniform = true;
    pass.uniformX = ox;
    pass.uniformY = oy;
}

void SampledRows::SourcePoints(int row, int start, const std::uint32_t* points, int slotX, int slotY)
{
    if (pass.uniform)
        std::copy(points, points + pass.count, passPoints);
    else
        for (int k = 0; k < pass.count; ++k)
            passPoints[k] = points[pass.pixel[k]];
    const GridPosition grid{start / Lanes * GridSlots + slotX, row * GridSlots + slotY};
    if (job.params.cartesian)
        Cartesian(row, start, pass.uniform ? &grid : nullptr);
    else
        Polar(row, start);
}

void SampledRows::CartesianInputs(int row, int start, const float* letters[4])
{
    // The preview feeds its points scaled up to the picture (its rule for
    // the row inputs). A uniform pass's spare lanes continue the row (the
    // grid's promise); others repeat the last point.
    const Scale& s = scale;
    const bool preview = job.geometry.preview;
    const auto rowInputs = [&](double oy, float& y, float& z) {
        const double yRow = preview ? (row + oy) * s.down : row + oy;
        y = static_cast<float>(yRow);
        z = static_cast<float>(preview ? yRow - job.geometry.formulaHeight * 0.5
                                       : row - job.geometry.formulaHeight / 2 + oy);
    };
    for (int i = 0; i < 4; ++i)
        letters[i] = inputs[i];
    if (pass.uniform) {
        const double ox = pass.uniformX * s.across;
        const float* x = &columnX[static_cast<std::size_t>(start)];
        const float* c = &columnC[static_cast<std::size_t>(start)];
        if (ox == 0) { // the columns' own inputs
            letters[0] = x;
            letters[2] = c;
        } else {
            for (int k = 0; k < Lanes; ++k) {
                inputs[0][k] = static_cast<float>(x[k] + ox);
                inputs[2][k] = static_cast<float>(c[k] + ox);
            }
        }
        rowInputs(pass.uniformY, inputs[1][0], inputs[3][0]);
        std::fill(inputs[1] + 1, inputs[1] + Lanes, inputs[1][0]);
        std::fill(inputs[3] + 1, inputs[3] + Lanes, inputs[3][0]);
        return;
    }
    for (int k = 0; k < Lanes; ++k) {
        const int from = std::min(k, pass.count - 1);
        const std::size_t column = static_cast<std::size_t>(start + pass.pixel[from]);
        const double ox = pass.ox[from] * s.across;
        inputs[0][k] = static_cast<float>(columnX[column] + ox);
        inputs[2][k] = static_cast<float>(columnC[column] + ox);
        rowInputs(pass.oy[from], inputs[1][k], inputs[3][k]);
    }
}

void SampledRows::Cartesian(int row, int start, const GridPosition* grid)
{
    const float* letters[4];
    CartesianInputs(row, start, letters);
    // The two evaluators keep their own results.
    const BlockResult a = first.Evaluate(letters, passPoints, pass.count, grid);
    const BlockResult b = second.Evaluate(letters, passPoints, pass.count, grid);
    // The preview scales the results back down to its pixels.
    const double across = scale.across, down = scale.down;
    if (job.geometry.preview)
        for (int k = 0; k < pass.count; ++k) {
            const bool mapped = (a.failed[k] | b.failed[k]) == 0;
            pointX[k] = mapped ? a.values[k] / across : None;
            pointY[k] = mapped ? b.values[k] / down : None;
        }
    else
        for (int k = 0; k < pass.count; ++k) {
            const bool mapped = (a.failed[k] | b.failed[k]) == 0;
            pointX[k] = mapped ? a.values[k] : None;
            pointY[k] = mapped ? b.values[k] : None;
        }
}

void SampledRows::Polar(int row, int start)
{
    const int cx0 = job.geometry.formulaWidth / 2, cy0 = job.geometry.formulaHeight / 2;
    const Scale& s = scale;
    for (int k = 0; k < Lanes; ++k) {
        const int from = std::min(k, pass.count - 1); // spare lanes repeat the last point
        const int i = start + (pass.uniform ? from : pass.pixel[from]);
        const double ox = pass.uniform ? pass.uniformX : pass.ox[from];
        const double oy = pass.uniform ? pass.uniformY : pass.oy[from];
        if (job.geometry.preview) {
            dx[k] = (i + ox) * s.across - cx0 + 0.00001;
            dy[k] = (row + oy) * s.down - cy0;
        } else {
            dx[k] = (i - cx0) + 0.01 + ox;
            dy[k] = row - cy0 + oy;
        }
    }
    job.kernels.polarInputs(dx, dy, inputs[0], inputs[1]);
    const float* letters[2] = {inputs[0], inputs[1]};
    // The two evaluators keep their own results.
    const BlockResult a = first.Evaluate(letters, passPoints, pass.count);
    const BlockResult b = second.Evaluate(letters, passPoints, pass.count);
    const fast::PolarPlacement placement{
        static_cast<double>(cx0), static_cast<double>(cy0), job.geometry.preview, 1.0, s.across, 1.0, s.down};
    job.kernels.polarPoints(a.values, b.values, a.failed, b.failed, placement, LibrarySinCos, pointX, pointY);
}

void SampledRows::Landings(int row, int start, int n, const std::uint32_t* points)
{
    UniformPass(n, 0.0, 0.0);
    SourcePoints(row, start, points, GridSlot(1, 0), GridSlot(1, 0));
    const std::size_t at = static_cast<std::size_t>(row) * job.destination.Width + start;
    for (int k = 0; k < n; ++k) {
        // Far beyond the picture counts as nowhere (and keeps the floats finite).
        const bool lands = std::abs(pointX[k]) < 1e7 && std::abs(pointY[k]) < 1e7;
        job.landingX[at + k] = lands ? static_cast<float>(pointX[k]) : std::nanf("");
        job.landingY[at + k] = lands ? static_cast<float>(pointY[k]) : std::nanf("");
    }
}

void SampledRows::Fixed(int row, int start, int n, int s, const std::uint32_t* points)
{
    const WarpQuality& quality = job.options.quality;
    for (float* sum : sums)
        std::fill(sum, sum + n, 0.0f);
    for (int j = 0; j < s; ++j)
        for (int i = 0; i < s; ++i) {
            UniformPass(n, (i + 0.5) / s - 0.5, (j + 0.5) / s - 0.5);
            SourcePoints(row, start, points, GridSlot(s, i), GridSlot(s, j));
            AddSamples(job.source, job.kernels, pointX, pointY, n, quality, !job.params.cartesian, job.background,
                       {sums[0], sums[1], sums[2]});
        }
    job.kernels.storeAverages({sums[0], sums[1], sums[2]}, n, 1.0f / static_cast<float>(s * s),
                              job.destination.RowTable[static_cast<std::size_t>(row)] + 3 * start);
}

void SampledRows::Centres(int row, int start, int n, const std::uint32_t* points, double* x, double* y)
{
    const int block = start / Lanes;
    const std::size_t at = static_cast<std::size_t>(start);
    if (belowRow[static_cast<std::size_t>(block)] != row) {
        UniformPass(n, 0.0, 0.0);
        SourcePoints(row, start, points, GridSlot(1, 0), GridSlot(1, 0));
        std::copy(pointX, pointX + n, belowX.begin() + static_cast<std::ptrdiff_t>(at));
        std::copy(pointY, pointY + n, belowY.begin() + static_cast<std::ptrdiff_t>(at));
        belowRow[static_cast<std::size_t>(block)] = row;
    }
    std::copy(belowX.begin() + static_cast<std::ptrdiff_t>(at), belowX.begin() + static_cast<std::ptrdiff_t>(at) + n,
              x);
    std::copy(belowY.begin() + static_cast<std::ptrdiff_t>(at), belowY.begin() + static_cast<std::ptrdiff_t>(at) + n,
              y);
}

void SampledRows::Flush(int row, int start, const std::uint32_t* points, const float* weight)
{
    SourcePoints(row, start, points, 0, 0);
    for (float* sum : passSums)
        std::fill(sum, sum + pass.count, 0.0f);
    AddSamples(job.source, job.kernels, pointX, pointY, pass.count, job.options.quality, !job.params.cartesian,
               job.background, {passSums[0], passSums[1], passSums[2]});
    for (int k = 0; k < pass.count; ++k) {
        const int pixel = pass.pixel[k];
        for (int c = 0; c < 3; ++c)
            sums[c][pixel] += passSums[c][k] * weight[pixel];
    }
    pass.count = 0;
}

bool SampledRows::FarOutside(double x, double y, double spread) const
{
    // The points of a pixel lie within about half the spread of its centre;
    // bicubic reading reaches two pixels further.
    if (job.options.quality.edge != EdgeMode::Background)
        return false;
    const double margin = 2 * spread + 2;
    return x < -margin || y < -margin || x > job.source.Width + margin || y > job.source.Height + margin;
}

int SampledRows::SamplesPerPixel(int row, int start, int n, const std::uint32_t* points, double* x, double* y,
                                 int* samples)
{
    // The centres of this row and of a neighbouring one (numbered as that
    // row's own points, so that random draws do not depend on which rows a
    // worker happens to have seen).
    alignas(32) double nx[Lanes], ny[Lanes];
    const int other = row + 1 < job.destination.Height ? row + 1 : row - 1;
    Centres(row, start, n, points, x, y);
    if (other >= 0) {
        std::uint32_t otherPoints[Lanes];
        const std::uint32_t step =
            static_cast<std::uint32_t>(other - row) * static_cast<std::uint32_t>(job.destination.Width);
        for (int k = 0; k < Lanes; ++k)
            otherPoints[k] = points[k] + step;
        Centres(other, start, n, otherPoints, nx, ny);
    }
    // The squared distances to the neighbours' source points (NaN compares
    // false and counts for nothing).
    bool uniform = true;
    for (int k = 0; k < n; ++k) {
        double spread = 1;
        const auto farther = [&](double ax, double ay) {
            const double d = (ax - x[k]) * (ax - x[k]) + (ay - y[k]) * (ay - y[k]);
            spread = d > spread ? d : spread;
        };
        const int side = k + 1 < n ? k + 1 : k - 1;
        if (side >= 0)
            farther(x[side], y[side]);
        if (other >= 0)
            farther(nx[k], ny[k]);
        const double reach = std::sqrt(spread);
        samples[k] = std::isnan(x[k]) || FarOutside(x[k], y[k], reach) ? 1 : AdaptiveSamples(reach);
        uniform = uniform && samples[k] == samples[0];
    }
    return uniform ? samples[0] : 0;
}

void SampledRows::Adaptive(int row, int start, int n, const std::uint32_t* points)
{
    alignas(32) double x[Lanes], y[Lanes];
    int samples[Lanes];
    // A block shrunk alike all over (the usual case) samples as a fixed grid,
    // which lets the evaluators reuse what depends on the row or column alone.
    const int all = SamplesPerPixel(row, start, n, points, x, y, samples);
    if (all > 1) {
        Fixed(row, start, n, all, points);
        return;
    }
    // One point where the centre reads it all; the centres are sampled anyway.
    for (float* sum : sums)
        std::fill(sum, sum + n, 0.0f);
    AddSamples(job.source, job.kernels, x, y, n, job.options.quality, !job.params.cartesian, job.background,
               {sums[0], sums[1], sums[2]});
    // The others' points packed into full passes.
    float weight[Lanes];
    pass.count = 0;
    pass.uniform = false;
    for (int k = 0; k < n; ++k) {
        const int s = samples[k];
        weight[k] = 1.0f / static_cast<float>(s * s);
        if (s == 1)
            continue;
        for (float* sum : sums)
            sum[k] = 0;
        for (int j = 0; j < s; ++j)
            for (int i = 0; i < s; ++i) {
                pass.pixel[pass.count] = k;
                pass.ox[pass.count] = (i + 0.5) / s - 0.5;
                pass.oy[pass.count] = (j + 0.5) / s - 0.5;
                if (++pass.count == Lanes)
                    Flush(row, start, points, weight);
            }
    }
    if (pass.count > 0)
        Flush(row, start, points, weight);
    job.kernels.storeAverages({sums[0], sums[1], sums[2]}, n, 1.0f,
                              job.destination.RowTable[static_cast<std::size_t>(row)] + 3 * start);
}

void SampledRows::Block(int row, int start, int n, const std::uint32_t* points)
{
    const int samples = job.options.quality.samples;
    if (samples == krt::Adaptive)
        Adaptive(row, start, n, points);
    else
        Fixed(row, start, n, std::clamp(samples, 1, MostSamples), points);
}

} // namespace krt
