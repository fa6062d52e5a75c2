#include "deform/WarpRows.h"

#include "core/KrtError.h"
#include "deform/formula/FastBackend.h"

#include <algorithm>
#include <new>

namespace krt {
namespace {

constexpr int Lanes = BlockSize;

// A full-size Cartesian result as a pixel coordinate: the value truncated
// toward zero, or -1 when the point failed or the value lies beyond any image.
// (Values of 65536 and more count as outside instead of wrapping into the picture.)
inline std::int32_t CartesianCoord(float v, std::uint8_t failed)
{
    if (failed || !(v > -1.0f && v < 65536.0f))
        return -1;
    return static_cast<std::int32_t>(v);
}

// A preview Cartesian result: RoundCoord(size x v / formula size), or -1 for a
// failed point (which must not land on column 0 of a wide preview).
inline std::int32_t PreviewCoord(float v, std::uint8_t failed, int size, int formulaSize)
{
    if (failed)
        return -1;
    const double scaled = static_cast<double>(size) * v / formulaSize;
    return std::abs(scaled) < 1073741824.0 ? static_cast<std::int32_t>(RoundCoord(scaled)) : -1;
}

// One worker's evaluators and scratch space.
class RowWarper {
public:
    explicit RowWarper(WarpJob& j)
        : job(j), first(MakeBlockEvaluator(j.programs.first, j.options.backend, j.options.isa)),
          second(MakeBlockEvaluator(j.programs.second, j.options.backend, j.options.isa))
    {
    }

    void Rows(int from, int to)
    {
        const int width = job.destination.Width;
        for (int row = from; row < to; ++row)
            for (int start = 0; start < width; start += Lanes) {
                const int n = std::min(Lanes, width - start);
                for (int k = 0; k < n; ++k)
                    points[k] = static_cast<std::uint32_t>(row) * static_cast<std::uint32_t>(width) +
                                static_cast<std::uint32_t>(start + k);
                if (job.params.cartesian)
                    MapCartesian(row, start, n);
                else
                    MapPolar(row, start, n);
                Place(row, start, n);
            }
    }

private:
    void Evaluate(const float* const* inputs, int n)
    {
        first->Evaluate(inputs, points, n, valueFirst, failFirst);
        second->Evaluate(inputs, points, n, valueSecond, failSecond);
    }

    void MapCartesian(int row, int start, int n)
    {
        const int W = job.geometry.formulaWidth, H = job.geometry.formulaHeight;
        const int PW = job.destination.Width, PH = job.destination.Height;
        if (job.geometry.preview) {
            const double yd = static_cast<double>(row) * H / PH;
            for (int k = 0; k < n; ++k) {
                const double xd = static_cast<double>(start + k) * W / PW;
                x[k] = static_cast<float>(xd);
                y[k] = static_cast<float>(yd);
                c[k] = static_cast<float>(xd - W * 0.5);
                z[k] = static_cast<float>(yd - H * 0.5);
            }
        } else {
            for (int k = 0; k < n; ++k) {
                x[k] = static_cast<float>(start + k);
                y[k] = static_cast<float>(row);
                c[k] = static_cast<float>(start + k - W / 2);
                z[k] = static_cast<float>(row - H / 2);
            }
        }
        const float* inputs[4] = {x, y, c, z};
        Evaluate(inputs, n);
        for (int k = 0; k < n; ++k) {
            if (job.geometry.preview) {
                column[k] = PreviewCoord(valueFirst[k], failFirst[k], PW, W);
                line[k] = PreviewCoord(valueSecond[k], failSecond[k], PH, H);
            } else {
                column[k] = CartesianCoord(valueFirst[k], failFirst[k]);
                line[k] = CartesianCoord(valueSecond[k], failSecond[k]);
            }
        }
    }

    void MapPolar(int row, int start, int n)
    {
        const int W = job.geometry.formulaWidth, H = job.geometry.formulaHeight;
        const int PW = job.destination.Width, PH = job.destination.Height;
        const int cx0 = W / 2, cy0 = H / 2;
        for (int k = 0; k < Lanes; ++k) {
            const int i = start + std::min(k, n - 1); // spare lanes repeat the last point
            if (job.geometry.preview) {
                dx[k] = (static_cast<long long>(i) * W / PW) - cx0 + 0.00001;
                dy[k] = (static_cast<long long>(H) * row / PH) - cy0;
            } else {
                dx[k] = (i - cx0) + 0.01;
                dy[k] = row - cy0;
            }
        }
        job.kernels.polarInputs(dx, dy, x, y);
        const float* inputs[2] = {x, y};
        Evaluate(inputs, n);
        for (int k = 0; k < Lanes; ++k) {
            failT[k] = k < n && failFirst[k] ? -1 : 0;
            failR[k] = k < n && failSecond[k] ? -1 : 0;
            if (k >= n)
                valueFirst[k] = valueSecond[k] = 0;
        }
        fast::PolarPlacement placement{static_cast<double>(cx0), static_cast<double>(cy0), 1, 1, 1, 1};
        if (job.geometry.preview)
            placement = {static_cast<double>(cx0), static_cast<double>(cy0), static_cast<double>(PW),
                         static_cast<double>(W),   static_cast<double>(PH),  static_cast<double>(H)};
        job.kernels.polarPlace(valueFirst, valueSecond, failT, failR, placement, LibrarySinCos, column, line);
    }

    void Place(int row, int start, int n)
    {
        const int W = job.destination.Width, H = job.destination.Height;
        if (job.params.source) {
            std::uint8_t* d = job.destination.RowTable[static_cast<std::size_t>(row)] + 3 * start;
            for (int k = 0; k < n; ++k, d += 3) {
                if (column[k] >= 0 && column[k] < W && line[k] >= 0 && line[k] < H) {
                    const std::uint8_t* s = job.source.RowTable[static_cast<std::size_t>(line[k])] + 3 * column[k];
                    d[0] = s[0];
                    d[1] = s[1];
                    d[2] = s[2];
                } else {
                    WritePixel(d, job.background);
                }
            }
            return;
        }
        for (int k = 0; k < n; ++k) {
            if (column[k] < 0 || column[k] >= W || line[k] < 0 || line[k] >= H)
                continue;
            const std::uint32_t mine = points[k] + 1;
            std::atomic_ref<std::uint32_t> cell(job.winner[static_cast<std::size_t>(line[k]) * W + column[k]]);
            std::uint32_t seen = cell.load(std::memory_order_relaxed);
            while (seen < mine && !cell.compare_exchange_weak(seen, mine, std::memory_order_relaxed)) {
            }
        }
    }

    WarpJob& job;
    std::unique_ptr<BlockEvaluator> first, second;
    alignas(32) float x[Lanes], y[Lanes], c[Lanes], z[Lanes];
    alignas(32) double dx[Lanes], dy[Lanes];
    alignas(32) float valueFirst[Lanes], valueSecond[Lanes];
    std::uint8_t failFirst[Lanes], failSecond[Lanes];
    alignas(32) std::int32_t failT[Lanes], failR[Lanes];
    alignas(32) std::int32_t column[Lanes], line[Lanes];
    std::uint32_t points[Lanes];
};

} // namespace

WarpJob::WarpJob(const CompiledDeformation& p, const TFastBMP& s, TFastBMP& d, const DeformationParams& pa,
                 PackedColor b, const WarpOptions& o, const fast::Kernels& k, WarpGeometry g)
    : programs(p), source(s), destination(d), params(pa), background(b), options(o), kernels(k), geometry(g)
{
    rowsPerChunk = std::max(1, 16384 / std::max(destination.Width, 1));
    chunks = (destination.Height + rowsPerChunk - 1) / rowsPerChunk;
}

void WarpJob::PrepareTargets()
{
    try {
        winner.reset(new std::uint32_t[static_cast<std::size_t>(destination.Width) * destination.Height]());
    } catch (const std::bad_alloc&) {
        throw KrtError("Not enough memory to deform an image of " + std::to_string(destination.Width) + " x " +
                       std::to_string(destination.Height) + " pixels.");
    }
}

void WarpJob::Work()
{
    RowWarper warper(*this);
    for (;;) {
        if (cancelled.load(std::memory_order_relaxed))
            return;
        const int chunk = nextChunk.fetch_add(1);
        if (chunk >= chunks)
            return;
        const int from = chunk * rowsPerChunk;
        const int to = std::min(from + rowsPerChunk, destination.Height);
        warper.Rows(from, to);
        rowsDone.fetch_add(to - from);
    }
}

void WarpJob::ResolveWinners(int from, int to)
{
    const int W = destination.Width;
    for (int row = from; row < to; ++row) {
        std::uint8_t* d = destination.RowTable[static_cast<std::size_t>(row)];
        const std::uint32_t* w = &winner[static_cast<std::size_t>(row) * W];
        for (int i = 0; i < W; ++i, d += 3) {
            if (w[i] == 0) {
                WritePixel(d, background);
            } else {
                const std::uint32_t index = w[i] - 1;
                const std::uint8_t* s = source.RowTable[index / W] + 3 * (index % W);
                d[0] = s[0];
                d[1] = s[1];
                d[2] = s[2];
            }
        }
    }
}

} // namespace krt
