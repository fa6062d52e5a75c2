#pragma once

#include "deform/formula/FormulaProgram.h"

#include <cstdint>
#include <memory>

namespace krt {

// The value of a failed point in the float form, and in the 16-bit form (the
// 16-bit pattern of -10); both lie outside every image.
constexpr float FailureValue = -10.0f;
constexpr std::uint16_t FailureValue16 = 65526;

// The reference evaluator: a plain loop over the instructions. `slots` is a
// working copy of the program's variable table; `inputs` holds one value per
// input letter, in the order of program.inputLetters; `point` numbers the point
// for random. Returns false when the point fails.
bool EvaluateProgram(const FormulaProgram& program, float* slots, const float* inputs, std::uint32_t point,
                     float& value);

// One point, float form: the value, or FailureValue with errorByte set to 1.
// errorByte is only ever set, never cleared.
float EvaluateFormula(FormulaProgram& program, const float* inputs, std::uint8_t& errorByte);
// One point of a Cartesian program, 16-bit form: the value truncated toward
// zero, its low 16 bits; or FailureValue16 with errorByte set to 1.
std::uint16_t EvaluateFormula16(FormulaProgram& program, std::uint16_t x, std::uint16_t y, float c, float z,
                                std::uint8_t& errorByte);

// Evaluates a block of up to BlockSize points per call.
constexpr int BlockSize = 256;

// Where a block lies on a grid whose column inputs (x and c of a Cartesian
// formula) depend only on the column and whose row inputs (y and z) only on
// the row: a block at the same column position always has the same column
// inputs, and all points of a block share one row. Evaluators may then reuse
// the parts of a formula that depend on the column or on the row alone.
struct GridPosition {
    int columnBlock; // the block's place along the row (its first column / BlockSize)
    int row;
};

// The values of a block and where it fails (FailedLane, all bits set, which the
// vector kernels read as a lane mask; 0 where it does not), BlockSize entries
// each of which the first n count; valid until the evaluator's next call.
constexpr std::int32_t FailedLane = -1;
struct BlockResult {
    const float* values;
    const std::int32_t* failed;
};

class BlockEvaluator {
public:
    virtual ~BlockEvaluator() = default;
    // inputs[k] points at BlockSize values of input letter k (the first n are
    // used); points numbers them for random. With `grid`, the inputs must keep
    // the promise of GridPosition.
    virtual BlockResult Evaluate(const float* const* inputs, const std::uint32_t* points, int n,
                                 const GridPosition* grid = nullptr) = 0;
};

enum class FormulaBackend {
    Reference, // the plain loop, point by point
    Fast,      // vectorised for the host processor (AVX2, else SSE2)
};

// Which build of the fast kernels to use: the best the processor has, or one
// in particular (tests compare them; KRT_NO_AVX2 in the environment makes
// the automatic choice SSE2).
enum class FastIsa { Auto, Sse2, Avx2 };

std::unique_ptr<BlockEvaluator> MakeBlockEvaluator(const FormulaProgram& program, FormulaBackend backend,
                                                   FastIsa isa = FastIsa::Auto);
// "AVX2" or "SSE2": the instruction set the fast backend runs with on this processor.
const char* FastBackendName();

} // namespace krt
