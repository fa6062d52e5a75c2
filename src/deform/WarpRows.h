#pragma once

// The per-row work of a warp, shared by the full-size warp and the dialog's
// preview: inputs from pixel positions, both formulas over blocks of points,
// and the placement of pixels.

#include "core/LargeMemory.h"
#include "deform/Warp.h"
#include "deform/formula/FastKernels.h"

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace krt {

// How pixel positions become formula inputs, and results positions.
struct WarpGeometry {
    int formulaWidth = 0; // W and H of the bitmap being deformed
    int formulaHeight = 0;
    // The full-size warp works on whole pixels; the preview feeds the positions
    // of its pixels scaled up to the bitmap and scales the results back down.
    bool preview = false;
};

// Everything the workers of one warp share.
struct WarpJob {
    WarpJob(const CompiledDeformation& p, const TFastBMP& s, TFastBMP& d, const DeformationParams& pa, PackedColor b,
            const WarpOptions& o, const fast::Kernels& k, WarpGeometry g);

    const CompiledDeformation& programs;
    const TFastBMP& source; // the grid's pixels (the preview's own for a preview)
    TFastBMP& destination;
    const DeformationParams& params;
    PackedColor background;
    const WarpOptions& options;
    const fast::Kernels& kernels;
    WarpGeometry geometry;

    int rowsPerChunk = 1;
    int chunks = 0;
    std::atomic<int> nextChunk{0};
    std::atomic<int> rowsDone{0};
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    std::condition_variable finished;
    int workersDone = 0;
    // Target coordinates: per destination pixel, 1 + the index of the last
    // source pixel (in row order) that lands there; 0 for none.
    LargeBlock winnerMemory;
    std::uint32_t* winner = nullptr;

    // Target coordinates read between pixels (a quality other than the
    // plain rule): where each source pixel lands, NaN where it does not.
    LargeBlock landingMemory;
    float* landingX = nullptr;
    float* landingY = nullptr;

    // Allocates the winner table for target coordinates (and, for a sampled
    // warp, the landing table); throws KrtError.
    void PrepareTargets();
    // Maps chunks of rows until none is left or the job is cancelled.
    void Work();
    // Target coordinates, second pass over rows [from, to): each destination
    // pixel takes the source pixel that landed on it last, or the background.
    void ResolveWinners(int from, int to);
};

} // namespace krt
