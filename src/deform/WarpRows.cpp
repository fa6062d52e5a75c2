#include "deform/WarpRows.h"

#include "deform/SampledRows.h"

#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "deform/formula/FastBackend.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

namespace krt {
namespace {

constexpr OwnMessage NoWarpMemory{"Not enough memory to deform an image of {1} x {2} pixels.",
                                  "Недостаточно памяти для деформации изображения {1} x {2} точек."};

} // namespace
namespace {

constexpr int Lanes = BlockSize;

// Full-size Cartesian results as pixel coordinates: each value truncated
// toward zero, or -1 when the point failed or the value lies beyond any image.
// (Values of 65536 and more count as outside instead of wrapping into the picture.)
void CartesianCoords(const BlockResult& result, std::int32_t* __restrict coords)
{
    const float* __restrict values = result.values;
    const std::int32_t* __restrict failed = result.failed;
    for (int k = 0; k < Lanes; ++k) {
        const float v = values[k];
        const bool usable = (failed[k] == 0) & (v > -1.0f) & (v < 65536.0f);
        coords[k] = usable ? static_cast<std::int32_t>(usable ? v : 0.0f) : -1;
    }
}

// A preview Cartesian result: RoundCoord(size x v / formula size), or -1 for a
// failed point (which must not land on column 0 of a wide preview).
inline std::int32_t PreviewCoord(float v, bool failed, int size, int formulaSize)
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
        if (job.params.cartesian)
            PrepareColumns();
        for (const FormulaProgram* p : {&job.programs.first, &job.programs.second})
            for (int i = 0; i < p->instructionCount; ++i)
                usesRandom |= p->operations[static_cast<std::size_t>(i)] == Operation::Random;
        // The preview samples as the warp does.
        if (!job.options.quality.Plain())
            sampled = std::make_unique<SampledRows>(job, *first, *second, columnX, columnC);
    }

    void Rows(int from, int to)
    {
        const int width = job.destination.Width;
        for (int row = from; row < to; ++row) {
            if (job.params.cartesian)
                PrepareRow(row);
            for (int start = 0; start < width; start += Lanes) {
                const int n = std::min(Lanes, width - start);
                if (usesRandom) // points only number the random draws
                    for (int k = 0; k < Lanes; ++k)
                        points[k] = static_cast<std::uint32_t>(row) * static_cast<std::uint32_t>(width) +
                                    static_cast<std::uint32_t>(start + k);
                if (sampled && job.params.source) {
                    sampled->Block(row, start, n, points);
                    continue;
                }
                if (sampled) {
                    sampled->Landings(row, start, n, points);
                    continue;
                }
                if (job.params.cartesian)
                    MapCartesian(row, start, n);
                else
                    MapPolar(row, start, n);
                Place(row, start, n);
            }
        }
    }

private:
    // The column inputs x and c of every column, once per warp (padded to
    // whole blocks: spare lanes continue the row, so each block position
    // always holds the same column inputs).
    void PrepareColumns()
    {
        const int W = job.geometry.formulaWidth;
        const int PW = job.destination.Width;
        const std::size_t padded = static_cast<std::size_t>((PW + Lanes - 1) / Lanes * Lanes);
        columnX.resize(padded);
        columnC.resize(padded);
        for (std::size_t j = 0; j < padded; ++j) {
            if (job.geometry.preview) {
                // c is taken from the x the formula sees, so that both name one point.
                columnX[j] = static_cast<float>(static_cast<double>(j) * W / PW);
                columnC[j] = static_cast<float>(static_cast<double>(columnX[j]) - W * 0.5);
            } else {
                columnX[j] = static_cast<float>(j);
                columnC[j] = static_cast<float>(static_cast<long>(j) - W / 2);
            }
        }
    }

    // The row inputs y and z, the same for every point of the row.
    void PrepareRow(int row)
    {
        const int H = job.geometry.formulaHeight;
        float yv, zv;
        if (job.geometry.preview) {
            yv = static_cast<float>(static_cast<double>(row) * H / job.destination.Height);
            zv = static_cast<float>(static_cast<double>(yv) - H * 0.5);
        } else {
            yv = static_cast<float>(row);
            zv = static_cast<float>(row - H / 2);
        }
        std::fill(std::begin(y), std::end(y), yv);
        std::fill(std::begin(z), std::end(z), zv);
    }

    void MapCartesian(int row, int start, int n)
    {
        const int W = job.geometry.formulaWidth, H = job.geometry.formulaHeight;
        const int PW = job.destination.Width, PH = job.destination.Height;
        const float* inputs[4] = {&columnX[static_cast<std::size_t>(start)], y,
                                  &columnC[static_cast<std::size_t>(start)], z};
        const GridPosition grid{start / Lanes, row};
        const BlockResult a = first->Evaluate(inputs, points, n, &grid);
        const BlockResult b = second->Evaluate(inputs, points, n, &grid);
        if (job.geometry.preview) {
            for (int k = 0; k < n; ++k) {
                column[k] = PreviewCoord(a.values[k], a.failed[k] != 0, PW, W);
                line[k] = PreviewCoord(b.values[k], b.failed[k] != 0, PH, H);
            }
        } else if (job.params.source) {
            cartesianFirst = a; // placed straight from the results
            cartesianSecond = b;
        } else {
            CartesianCoords(a, column);
            CartesianCoords(b, line);
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
        job.kernels.polarInputs(dx, dy, t, r);
        const float* inputs[2] = {t, r};
        // The first result must survive the second evaluation: keep a copy.
        const BlockResult a = first->Evaluate(inputs, points, n);
        std::copy(a.values, a.values + Lanes, valueFirst);
        std::copy(a.failed, a.failed + Lanes, failFirst);
        const BlockResult b = second->Evaluate(inputs, points, n);
        fast::PolarPlacement placement{static_cast<double>(cx0), static_cast<double>(cy0), false, 1, 1, 1, 1};
        if (job.geometry.preview)
            placement = {static_cast<double>(cx0), static_cast<double>(cy0), true,
                         static_cast<double>(PW),  static_cast<double>(W),   static_cast<double>(PH),
                         static_cast<double>(H)};
        job.kernels.polarPlace(valueFirst, b.values, failFirst, b.failed, placement, LibrarySinCos, column, line);
    }

    void Place(int row, int start, int n)
    {
        const int W = job.destination.Width, H = job.destination.Height;
        if (job.params.source) {
            const fast::PixelSource source{job.source.PixelData, job.source.RowBytes, W, H};
            std::uint8_t* d = job.destination.RowTable[static_cast<std::size_t>(row)] + 3 * start;
            if (job.params.cartesian && !job.geometry.preview)
                job.kernels.placeCartesian(d, source, cartesianFirst.values, cartesianFirst.failed,
                                           cartesianSecond.values, cartesianSecond.failed, n, job.background);
            else
                job.kernels.placePixels(d, source, column, line, n, job.background);
            return;
        }
        for (int k = 0; k < n; ++k) {
            if (column[k] < 0 || column[k] >= W || line[k] < 0 || line[k] >= H)
                continue;
            const std::uint32_t mine = static_cast<std::uint32_t>(row) * static_cast<std::uint32_t>(W) +
                                       static_cast<std::uint32_t>(start + k) + 1;
            std::atomic_ref<std::uint32_t> cell(job.winner[static_cast<std::size_t>(line[k]) * W + column[k]]);
            std::uint32_t seen = cell.load(std::memory_order_relaxed);
            while (seen < mine && !cell.compare_exchange_weak(seen, mine, std::memory_order_relaxed)) {
            }
        }
    }

    WarpJob& job;
    std::unique_ptr<BlockEvaluator> first, second;
    std::vector<float> columnX, columnC;
    alignas(32) float y[Lanes] = {}, z[Lanes] = {};
    alignas(32) float t[Lanes] = {}, r[Lanes] = {};
    alignas(32) double dx[Lanes] = {}, dy[Lanes] = {};
    alignas(32) float valueFirst[Lanes] = {};
    alignas(32) std::int32_t failFirst[Lanes] = {};
    alignas(32) std::int32_t column[Lanes] = {}, line[Lanes] = {};
    std::uint32_t points[Lanes] = {};
    BlockResult cartesianFirst{}, cartesianSecond{};
    bool usesRandom = false;
    std::unique_ptr<SampledRows> sampled; // when the warp's quality is not the plain rule
};

} // namespace

WarpJob::WarpJob(const CompiledDeformation& p, const TFastBMP& s, TFastBMP& d, const DeformationParams& pa,
                 PackedColor b, const WarpOptions& o, const fast::Kernels& k, WarpGeometry g)
    : programs(p), source(s), destination(d), params(pa), background(b), options(o), kernels(k), geometry(g)
{
    rowsPerChunk = std::max(1, 65536 / std::max(destination.Width, 1));
    chunks = (destination.Height + rowsPerChunk - 1) / rowsPerChunk;
}

void WarpJob::PrepareTargets()
{
    const std::size_t cells = static_cast<std::size_t>(destination.Width) * destination.Height;
    winnerMemory = LargeBlock(cells * sizeof(std::uint32_t));
    if (!winnerMemory)
        throw KrtError(Say(NoWarpMemory, {std::to_string(destination.Width), std::to_string(destination.Height)}));
    winner = reinterpret_cast<std::uint32_t*>(winnerMemory.Data());
    if (options.quality.Plain())
        return;
    landingMemory = LargeBlock(cells * 2 * sizeof(float));
    if (!landingMemory)
        throw KrtError(Say(NoWarpMemory, {std::to_string(destination.Width), std::to_string(destination.Height)}));
    landingX = reinterpret_cast<float*>(landingMemory.Data());
    landingY = landingX + cells;
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
