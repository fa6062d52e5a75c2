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
                const std::vector<float>& c);

    // Writes destination pixels start ... start + n - 1 of the row.
    void Block(int row, int start, int n, const std::uint32_t* points);
    // Target coordinates: where source pixels start ... start + n - 1 of the
    // row land, into the job's landing table.
    void Landings(int row, int start, int n, const std::uint32_t* points);

private:
    static constexpr int Lanes = BlockSize;
    static constexpr int MostSamples = MostSamplesPerSide; // per side, when adaptive

    // The points of one pass of the formulas: lane L is pixel start +
    // pixel[L] of the row, at (ox[L], oy[L]) from its centre; or, `uniform`,
    // pixel L at (uniformX, uniformY).
    struct Pass {
        int count = 0;
        bool uniform = false;
        double uniformX = 0, uniformY = 0;
        std::int32_t pixel[Lanes];
        double ox[Lanes], oy[Lanes];
    };
    // Every pixel of the block at one offset from its centre.
    void UniformPass(int n, double ox, double oy);

    // The source points of the pass into pointX/pointY, NaN where there is
    // none; a uniform pass gives the evaluators its grid position.
    void SourcePoints(int row, int start, const std::uint32_t* points, int slotX, int slotY);
    void Cartesian(int row, int start, const GridPosition* grid);
    // The pass's inputs x, y, c and z, for the evaluators.
    void CartesianInputs(int row, int start, const float* letters[4]);
    void Polar(int row, int start);

    // s x s points for every pixel of the block.
    void Fixed(int row, int start, int n, int s, const std::uint32_t* points);
    // Per pixel: one point where the warp does not shrink, about k x k where
    // it shrinks by k (from how far apart the source points of neighbouring
    // pixels lie), at most MostSamples x MostSamples.
    void Adaptive(int row, int start, int n, const std::uint32_t* points);
    // Whether every point of a pixel whose centre reads (x, y), `spread`
    // apart from its neighbours', surely takes the background.
    bool FarOutside(double x, double y, double spread) const;
    // The centres' source points of the block into x and y, and the
    // points per side each pixel needs; returns their number when all
    // pixels need as many, else 0.
    int SamplesPerPixel(int row, int start, int n, const std::uint32_t* points, double* x, double* y, int* samples);
    // The centres' source points of the block, kept for the next row.
    void Centres(int row, int start, int n, const std::uint32_t* points, double* x, double* y);
    // Samples the pass's points and adds each, times `weight` of its pixel,
    // to the pixel's sums; empties the pass.
    void Flush(int row, int start, const std::uint32_t* points, const float* weight);

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
    Pass pass;
    // The centres of the row below each block, as the adaptive choice last
    // saw them, and which row that was (-1: none yet).
    std::vector<double> belowX, belowY;
    std::vector<int> belowRow;
    alignas(32) float inputs[4][Lanes] = {};
    alignas(32) double dx[Lanes] = {}, dy[Lanes] = {};
    alignas(32) double pointX[Lanes] = {}, pointY[Lanes] = {};
    alignas(32) float sums[3][Lanes] = {};     // per pixel of the block
    alignas(32) float passSums[3][Lanes] = {}; // per lane of a pass
    std::uint32_t passPoints[Lanes] = {};
};

} // namespace krt
