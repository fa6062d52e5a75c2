#pragma once

#include "core/FastBMP.h"
#include "deform/Sampling.h"
#include "deform/formula/Evaluate.h"
#include "deform/formula/FormulaProgram.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace krt {

// What a warp needs of a deformation record, with the sliders' positions.
struct DeformationParams {
    std::string formulaPair;        // first formula, "|", second formula
    bool cartesian = true;          // X/Y formulas; otherwise T/R
    bool source = true;             // formulas give source coordinates; otherwise target coordinates
    std::array<int, 6> constants{}; // a ... f
};

enum class WarpStatus {
    Done,
    IncorrectFormula, // nothing was changed; failedFormula names the formula
    Cancelled,        // the destination was restored from the source
};

struct WarpResult {
    WarpStatus status = WarpStatus::Done;
    char failedFormula = 0; // 'X', 'Y', 'T' or 'R'
};

struct WarpOptions {
    FormulaBackend backend = FormulaBackend::Fast;
    FastIsa isa = FastIsa::Auto;
    int threads = 0; // 0: one per processor core
    // Called now and then with the share done (0 to 1), on the calling thread;
    // returning false cancels the warp.
    std::function<bool(double)> progress;
    char decimalSeparator = '.';
    std::optional<std::uint32_t> randomSeed; // fixes random numbers (tests)
    // How the source is read. Target coordinates other than by the plain
    // rule fill every destination pixel inside the mapped area (see
    // FillTargets).
    WarpQuality quality;
};

// The two compiled formulas of a deformation.
struct CompiledDeformation {
    FormulaProgram first;
    FormulaProgram second;
};

// Prepares the formula pair for a bitmap of width x height and compiles both
// formulas, the first one first. Returns the label of the first formula that
// does not compile ('X', 'Y', 'T' or 'R'), or 0.
char CompileDeformation(const DeformationParams& params, int width, int height, const WarpOptions& options,
                        CompiledDeformation& compiled);

// "OK" of the deformation dialog: warps the whole destination from the source
// (same size, different buffers). Both formulas are compiled before anything is
// written. Source coordinates: each destination pixel takes the source pixel
// the formulas name, or the background when that lies outside. Target
// coordinates: each source pixel goes where the formulas say, onto a
// background-filled destination; where several land on one pixel, the last
// in row order wins. Rows are shared among threads.
WarpResult ApplyDeformation(TFastBMP& destination, const TFastBMP& source, const DeformationParams& params,
                            PackedColor background, const WarpOptions& options = {});

// n := v truncated; n when (n + 1 - v) > (v - n), else n + 1: halves round up
// for v >= 0, and negative values truncate toward zero.
std::int64_t RoundCoord(double v);

} // namespace krt
