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
constexpr int BlockSize = 64;

class BlockEvaluator {
public:
    virtual ~BlockEvaluator() = default;
    // inputs[k] points at the values of input letter k for the n points;
    // points numbers them for random. Writes n values and failure flags.
    virtual void Evaluate(const float* const* inputs, const std::uint32_t* points, int n, float* values,
                          std::uint8_t* failed) = 0;
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
