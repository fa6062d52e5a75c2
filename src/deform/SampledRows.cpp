#include "deform/SampledRows.h"

#include "deform/Sampling.h"

#include <algorithm>
#include <cmath>

namespace krt {
namespace {

// Each sub-sample position of each block is a grid of its own for the
// evaluators' caches (its column inputs follow the block and i, its row
// inputs the row and j): n(n - 1)/2 + i numbers the (n, i) pairs up to n = 8.
constexpr int GridSlots = 36;
int GridSlot(int n, int i) { return n * (n - 1) / 2 + i; }

} // namespace

void SampledRows::SourcePoints(int row, int start, int n, const SubSample& at, const std::uint32_t* points, double* sx,
                               double* sy, bool* mapped)
{
    if (job.params.cartesian)
        Cartesian(row, start, n, at, points);
    else
        Polar(row, start, n, at, points);
    std::copy(pointX, pointX + n, sx);
    std::copy(pointY, pointY + n, sy);
    std::copy(pointMapped, pointMapped + n, mapped);
}

void SampledRows::Cartesian(int row, int start, int n, const SubSample& at, const std::uint32_t* points)
{
    // The preview feeds its points scaled up to the picture (its rule for
    // the row inputs) and scales the results back down.
    const Scale& s = scale;
    const double yRow = job.geometry.preview ? (row + at.oy) * s.down : row + at.oy;
    const float zRow = static_cast<float>(job.geometry.preview ? yRow - job.geometry.formulaHeight * 0.5
                                                               : row - job.geometry.formulaHeight / 2 + at.oy);
    const double ox = at.ox * s.across;
    for (int k = 0; k < Lanes; ++k) {
        inputs[0][k] = static_cast<float>(columnX[static_cast<std::size_t>(start + k)] + ox);
        inputs[1][k] = static_cast<float>(yRow);
        inputs[2][k] = static_cast<float>(columnC[static_cast<std::size_t>(start + k)] + ox);
        inputs[3][k] = zRow;
    }
    const float* letters[4] = {inputs[0], inputs[1], inputs[2], inputs[3]};
    const GridPosition grid{start / Lanes * GridSlots + GridSlot(at.n, at.i), row * GridSlots + GridSlot(at.n, at.j)};
    const BlockResult a = first.Evaluate(letters, points, n, &grid);
    std::copy(a.values, a.values + Lanes, firstValues);
    std::copy(a.failed, a.failed + Lanes, firstFailed);
    const BlockResult b = second.Evaluate(letters, points, n, &grid);
    for (int k = 0; k < n; ++k) {
        pointMapped[k] = firstFailed[k] == 0 && b.failed[k] == 0;
        pointX[k] = firstValues[k] / s.across;
        pointY[k] = b.values[k] / s.down;
    }
}

void SampledRows::Polar(int row, int start, int n, const SubSample& at, const std::uint32_t* points)
{
    const int cx0 = job.geometry.formulaWidth / 2, cy0 = job.geometry.formulaHeight / 2;
    const Scale& s = scale;
    for (int k = 0; k < Lanes; ++k) {
        const int i = start + std::min(k, n - 1); // spare lanes repeat the last point
        if (job.geometry.preview) {
            dx[k] = (i + at.ox) * s.across - cx0 + 0.00001;
            dy[k] = (row + at.oy) * s.down - cy0;
        } else {
            dx[k] = (i - cx0) + 0.01 + at.ox;
            dy[k] = row - cy0 + at.oy;
        }
    }
    job.kernels.polarInputs(dx, dy, inputs[0], inputs[1]);
    const float* letters[2] = {inputs[0], inputs[1]};
    const BlockResult a = first.Evaluate(letters, points, n);
    std::copy(a.values, a.values + Lanes, firstValues);
    std::copy(a.failed, a.failed + Lanes, firstFailed);
    const BlockResult b = second.Evaluate(letters, points, n);
    for (int k = 0; k < n; ++k) {
        // Unmapped: a failed point, the angle -1237 that marks none, a negative radius.
        pointMapped[k] = firstFailed[k] == 0 && b.failed[k] == 0 && firstValues[k] != -1237.0f && b.values[k] >= 0;
        const double angle = firstValues[k], radius = b.values[k];
        pointX[k] = (std::cos(angle) * radius + cx0) / s.across;
        pointY[k] = (std::sin(angle) * radius + cy0) / s.down;
    }
}

int SampledRows::SamplesFor(int row, int start, int n, const std::uint32_t* points)
{
    // The centres of this row and of a neighbouring one.
    double x[Lanes], y[Lanes], nx[Lanes], ny[Lanes];
    bool ok[Lanes], nok[Lanes];
    const SubSample centre{0, 0, 1, 0.0, 0.0};
    const int other = row + 1 < job.destination.Height ? row + 1 : row - 1;
    SourcePoints(row, start, n, centre, points, x, y, ok);
    if (other >= 0)
        SourcePoints(other, start, n, centre, points, nx, ny, nok);
    double spread = 1;
    for (int k = 0; k < n; ++k) {
        if (!ok[k])
            continue;
        const int side = k + 1 < n ? k + 1 : k - 1;
        if (side >= 0 && ok[side])
            spread = std::max(spread, std::hypot(x[side] - x[k], y[side] - y[k]));
        if (other >= 0 && nok[k])
            spread = std::max(spread, std::hypot(nx[k] - x[k], ny[k] - y[k]));
    }
    return std::clamp(static_cast<int>(std::ceil(spread - 1e-6)), 1, MostSamples);
}

void SampledRows::Landings(int row, int start, int n, const std::uint32_t* points)
{
    double x[Lanes], y[Lanes];
    bool mapped[Lanes];
    SourcePoints(row, start, n, {0, 0, 1, 0.0, 0.0}, points, x, y, mapped);
    const std::size_t at = static_cast<std::size_t>(row) * job.destination.Width + start;
    for (int k = 0; k < n; ++k) {
        // Far beyond the picture counts as nowhere (and keeps the floats finite).
        const bool lands = mapped[k] && std::abs(x[k]) < 1e7 && std::abs(y[k]) < 1e7;
        job.landingX[at + k] = lands ? static_cast<float>(x[k]) : std::nanf("");
        job.landingY[at + k] = lands ? static_cast<float>(y[k]) : std::nanf("");
    }
}

void SampledRows::Block(int row, int start, int n, const std::uint32_t* points)
{
    const WarpQuality& quality = job.options.quality;
    const int s = quality.samples == 0 ? SamplesFor(row, start, n, points) : std::clamp(quality.samples, 1, 8);
    float sums[Lanes][3] = {};
    double sx[Lanes], sy[Lanes];
    bool mapped[Lanes];
    for (int j = 0; j < s; ++j)
        for (int i = 0; i < s; ++i) {
            SourcePoints(row, start, n, {i, j, s, (i + 0.5) / s - 0.5, (j + 0.5) / s - 0.5}, points, sx, sy, mapped);
            AddSamples(job.source, sx, sy, mapped, n, quality, !job.params.cartesian, job.background, sums);
        }
    const float share = 1.0f / static_cast<float>(s * s);
    std::uint8_t* d = job.destination.RowTable[static_cast<std::size_t>(row)] + 3 * start;
    for (int k = 0; k < n; ++k)
        for (int c = 0; c < 3; ++c)
            *d++ = RoundedLevel(sums[k][c] * share);
}

} // namespace krt
