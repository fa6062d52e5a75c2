#pragma once

// A warp in source coordinates that samples between pixels: several points
// per destination pixel, each read by the sampling and edge mode, averaged.

#include "deform/WarpRows.h"
#include "deform/formula/Evaluate.h"

#include <vector>

namespace krt {

class SampledRows {
public:
    // `columnX` and `columnC`: the column inputs of every column (Cartesian).
    SampledRows(WarpJob& j, BlockEvaluator& f, BlockEvaluator& s, const std::vector<float>& x,
                const std::vector<float>& c)
        : job(j), first(f), second(s), columnX(x),
          columnC(c), scale{j.geometry.preview ? static_cast<double>(j.geometry.formulaWidth) / j.destination.Width
                                               : 1.0,
                            j.geometry.preview ? static_cast<double>(j.geometry.formulaHeight) / j.destination.Height
                                               : 1.0}
    {}

    // Writes destination pixels start ... start + n - 1 of the row.
    void Block(int row, int start, int n, const std::uint32_t* points);
    // Target coordinates: where source pixels start ... start + n - 1 of the
    // row land, into the job's landing table.
    void Landings(int row, int start, int n, const std::uint32_t* points);

private:
    static constexpr int Lanes = BlockSize;
    static constexpr int MostSamples = 8; // per side, when adaptive

    // Sub-sample (i, j) of n x n, at offset (ox, oy) from the pixel's centre.
    struct SubSample {
        int i, j, n;
        double ox, oy;
    };

    // The source points of the block's sub-sample: false where none.
    void SourcePoints(int row, int start, int n, const SubSample& at, const std::uint32_t* points, double* sx,
                      double* sy, bool* mapped);
    void Cartesian(int row, int start, int n, const SubSample& at, const std::uint32_t* points);
    void Polar(int row, int start, int n, const SubSample& at, const std::uint32_t* points);
    // Adaptive: samples per side for the block, from how far apart the
    // source points of neighbouring pixels lie (1 where the warp does not
    // shrink, about k where it shrinks by k, at most MostSamples).
    int SamplesFor(int row, int start, int n, const std::uint32_t* points);

    // Picture pixels per pixel of the rows (above 1 for the dialog's preview).
    struct Scale {
        double across, down;
    };

    WarpJob& job;
    BlockEvaluator& first;
    BlockEvaluator& second;
    const std::vector<float>& columnX;
    const std::vector<float>& columnC;
    Scale scale;
    alignas(32) float inputs[4][Lanes] = {};
    alignas(32) double dx[Lanes] = {}, dy[Lanes] = {};
    alignas(32) float firstValues[Lanes] = {};
    alignas(32) std::int32_t firstFailed[Lanes] = {};
    double pointX[Lanes] = {}, pointY[Lanes] = {};
    bool pointMapped[Lanes] = {};
};

} // namespace krt
