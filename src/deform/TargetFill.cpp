#include "deform/TargetFill.h"

#include "core/ThreadPool.h"
#include "deform/Sampling.h"
#include "deform/formula/Evaluate.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

namespace krt {
namespace {

// A triangle of landed source pixels: its corners' source and destination points.
struct Triangle {
    double sx[3], sy[3]; // source
    double dx[3], dy[3]; // where they landed
};

// Triangle `which` (0: upper left, 1: lower right) of the cell whose upper
// left pixel is (i, j); false when a corner did not land.
bool CellTriangle(const WarpJob& job, int i, int j, int which, Triangle& t)
{
    const int W = job.source.Width;
    static constexpr int Corners[2][3][2] = {{{0, 0}, {1, 0}, {0, 1}}, {{1, 1}, {0, 1}, {1, 0}}};
    for (int k = 0; k < 3; ++k) {
        const int x = i + Corners[which][k][0], y = j + Corners[which][k][1];
        const std::size_t at = static_cast<std::size_t>(y) * W + x;
        if (std::isnan(job.landingX[at]))
            return false;
        t.sx[k] = x;
        t.sy[k] = y;
        t.dx[k] = job.landingX[at];
        t.dy[k] = job.landingY[at];
    }
    return true;
}

// The barycentric weights of point (x, y) in the triangle's landing; false
// when the landing has no area.
bool Weights(const Triangle& t, double x, double y, double w[3])
{
    const double area = (t.dx[1] - t.dx[0]) * (t.dy[2] - t.dy[0]) - (t.dx[2] - t.dx[0]) * (t.dy[1] - t.dy[0]);
    if (std::abs(area) < 1e-12)
        return false;
    w[1] = ((x - t.dx[0]) * (t.dy[2] - t.dy[0]) - (t.dx[2] - t.dx[0]) * (y - t.dy[0])) / area;
    w[2] = ((t.dx[1] - t.dx[0]) * (y - t.dy[0]) - (x - t.dx[0]) * (t.dy[1] - t.dy[0])) / area;
    w[0] = 1 - w[1] - w[2];
    return true;
}

// Shared edges belong to both triangles: the later one in row order wins them.
constexpr double Inside = -1e-9;

void Rasterise(WarpJob& job, int i, int j, int which)
{
    Triangle t;
    if (!CellTriangle(job, i, j, which, t))
        return;
    const int W = job.destination.Width, H = job.destination.Height;
    const double left = std::min({t.dx[0], t.dx[1], t.dx[2]}), right = std::max({t.dx[0], t.dx[1], t.dx[2]});
    const double top = std::min({t.dy[0], t.dy[1], t.dy[2]}), bottom = std::max({t.dy[0], t.dy[1], t.dy[2]});
    if (right - left > MaxTriangleSpan || bottom - top > MaxTriangleSpan)
        return;
    const int x0 = std::max(0, static_cast<int>(std::ceil(left))),
              x1 = std::min(W - 1, static_cast<int>(std::floor(right)));
    const int y0 = std::max(0, static_cast<int>(std::ceil(top))),
              y1 = std::min(H - 1, static_cast<int>(std::floor(bottom)));
    const std::uint32_t key = 1 + 2 * (static_cast<std::uint32_t>(j) * static_cast<std::uint32_t>(W) + i) + which;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            double w[3];
            if (!Weights(t, x, y, w) || w[0] < Inside || w[1] < Inside || w[2] < Inside)
                continue;
            std::atomic_ref<std::uint32_t> cell(job.winner[static_cast<std::size_t>(y) * W + x]);
            std::uint32_t seen = cell.load(std::memory_order_relaxed);
            while (seen < key && !cell.compare_exchange_weak(seen, key, std::memory_order_relaxed)) {
            }
        }
}

// The source point the triangle's mapping sends destination point (x, y)
// back to (beyond the triangle, its plane extended); false for a landing
// without area.
bool SourcePoint(const Triangle& t, double x, double y, double& sx, double& sy)
{
    double w[3];
    if (!Weights(t, x, y, w))
        return false;
    sx = w[0] * t.sx[0] + w[1] * t.sx[1] + w[2] * t.sx[2];
    sy = w[0] * t.sy[0] + w[1] * t.sy[1] + w[2] * t.sy[2];
    return true;
}

// Points per side for destination pixel (x, y): the quality's own number,
// or, adaptive, as many as the source pixels one destination pixel spans
// there (one where the warp does not shrink, at most 8).
int SamplesFor(const Triangle& t, int x, int y, int samples)
{
    if (samples != Adaptive)
        return std::clamp(samples, 1, MostSamplesPerSide);
    double sx, sy, ax, ay, bx, by;
    if (!SourcePoint(t, x, y, sx, sy) || !SourcePoint(t, x + 1, y, ax, ay) || !SourcePoint(t, x, y + 1, bx, by))
        return 1;
    return AdaptiveSamples(std::max(std::hypot(ax - sx, ay - sy), std::hypot(bx - sx, by - sy)));
}

// The winning triangle of destination pixel (x, y); false for none.
bool Winner(const WarpJob& job, int x, int y, Triangle& t)
{
    const std::uint32_t key = job.winner[static_cast<std::size_t>(y) * job.destination.Width + x];
    const std::uint32_t cell = (key - 1) / 2;
    return key != 0 && CellTriangle(job, static_cast<int>(cell % job.source.Width),
                                    static_cast<int>(cell / job.source.Width), static_cast<int>((key - 1) % 2), t);
}

// Reads rows of destination pixels back through their winning triangles:
// each pixel's s x s points, at x + (i + 1/2)/s - 1/2 (likewise y), join a
// block for the vector kernels, and each block read is added to the sums of
// the pixels its points belong to; a pixel is their average.
class BackReader {
public:
    explicit BackReader(const WarpJob& j)
        : job(j), rowSums(3 * static_cast<std::size_t>(j.destination.Width)),
          samples(static_cast<std::size_t>(j.destination.Width))
    {}

    void Row(int y)
    {
        const int W = job.destination.Width;
        std::fill(rowSums.begin(), rowSums.end(), 0.0f);
        for (int x = 0; x < W; ++x) {
            Triangle t;
            const int s = Winner(job, x, y, t) ? SamplesFor(t, x, y, job.options.quality.samples) : 0;
            samples[static_cast<std::size_t>(x)] = s;
            for (int j = 0; j < s; ++j)
                for (int i = 0; i < s; ++i) {
                    double sx = std::nan(""), sy = std::nan("");
                    SourcePoint(t, x + (i + 0.5) / s - 0.5, y + (j + 0.5) / s - 0.5, sx, sy);
                    Queue(sx, sy, x);
                }
        }
        Flush();
        std::uint8_t* d = job.destination.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < W; ++x, d += 3) {
            const int s = samples[static_cast<std::size_t>(x)];
            if (s == 0) {
                WritePixel(d, job.background);
                continue;
            }
            const float share = 1.0f / static_cast<float>(s * s);
            for (int c = 0; c < 3; ++c)
                d[c] = RoundedLevel(rowSums[3 * static_cast<std::size_t>(x) + c] * share);
        }
    }

private:
    void Queue(double sx, double sy, int x)
    {
        pointX[count] = sx;
        pointY[count] = sy;
        owner[count] = x;
        if (++count == BlockSize)
            Flush();
    }

    void Flush()
    {
        for (float* sum : blockSums)
            std::fill(sum, sum + count, 0.0f);
        AddSamples(job.source, job.kernels, pointX, pointY, count, job.options.quality, false, job.background,
                   {blockSums[0], blockSums[1], blockSums[2]});
        for (int k = 0; k < count; ++k) {
            float* sum = &rowSums[3 * static_cast<std::size_t>(owner[k])];
            for (int c = 0; c < 3; ++c)
                sum[c] += blockSums[c][k];
        }
        count = 0;
    }

    const WarpJob& job;
    std::vector<float> rowSums; // blue, green, red of each pixel of the row
    std::vector<int> samples;   // points per side of each pixel; 0: no triangle won it
    alignas(32) double pointX[BlockSize];
    alignas(32) double pointY[BlockSize];
    alignas(32) float blockSums[3][BlockSize];
    int owner[BlockSize];
    int count = 0;
};

void Resolve(WarpJob& job, int from, int to)
{
    BackReader reader(job);
    for (int y = from; y < to; ++y)
        reader.Row(y);
}

} // namespace

void FillTargets(WarpJob& job, int threads)
{
    const int W = job.source.Width, H = job.source.Height;
    ParallelRows(std::max(H - 1, 0), threads, [&job, W](int from, int to) {
        for (int j = from; j < to; ++j)
            for (int i = 0; i + 1 < W; ++i)
                for (int which = 0; which < 2; ++which)
                    Rasterise(job, i, j, which);
    });
    ParallelRows(job.destination.Height, threads, [&job](int from, int to) { Resolve(job, from, to); });
}

} // namespace krt
