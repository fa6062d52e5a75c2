// The fast formula backend: evaluates a block of points per call through the
// vectorised kernels of the host processor.

#include "deform/formula/FastBackend.h"

#include "deform/formula/Evaluate.h"
#include "deform/formula/Semantics.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace krt {
namespace {

bool ScalarOperation(std::uint8_t op, float a, float b, std::uint32_t seed, std::uint32_t point,
                     std::uint32_t instruction, float* r)
{
    const auto operation = static_cast<Operation>(op);
    const std::uint32_t bits = operation == Operation::Random ? RandomBits(seed, point, instruction) : 0;
    return RunOperation(operation, a, b, bits, *r);
}

class FastBlockEvaluator : public BlockEvaluator {
public:
    FastBlockEvaluator(const FormulaProgram& program, const fast::Kernels& k)
        : kernels(k), slots(static_cast<std::size_t>(SlotCount) * fast::Lanes), fail(fast::Lanes)
    {
        for (int i = 0; i < program.instructionCount; ++i) {
            const auto n = static_cast<std::size_t>(i);
            instructions.push_back({static_cast<std::uint8_t>(program.operations[n]), program.operand1[n],
                                    program.operand2[n], program.result[n]});
        }
        view = {instructions.data(), program.instructionCount, program.randomSeed, ScalarOperation};
        // Every lane of a slot starts with the slot's value: literals and folded
        // constants stay; inputs and temporaries are overwritten per block.
        for (int s = 0; s < SlotCount; ++s)
            for (int lane = 0; lane < fast::Lanes; ++lane)
                slots[static_cast<std::size_t>(s * fast::Lanes + lane)] = program.variables[static_cast<std::size_t>(s)];
        for (char letter : program.inputLetters)
            inputSlots.push_back(SlotOf(static_cast<unsigned char>(letter)));
        resultSlot = program.ResultSlot();
    }

    void Evaluate(const float* const* inputs, const std::uint32_t* points, int n, float* values,
                  std::uint8_t* failed) override
    {
        for (std::size_t k = 0; k < inputSlots.size(); ++k) {
            float* lanes = &slots[static_cast<std::size_t>(inputSlots[k] * fast::Lanes)];
            for (int i = 0; i < fast::Lanes; ++i)
                lanes[i] = inputs[k][i < n ? i : 0];
        }
        std::uint32_t lanePoints[fast::Lanes];
        for (int i = 0; i < fast::Lanes; ++i)
            lanePoints[i] = points[i < n ? i : 0];
        std::fill(fail.begin(), fail.end(), 0);
        kernels.run(view, slots.data(), lanePoints, fail.data());
        const float* result = &slots[static_cast<std::size_t>(resultSlot * fast::Lanes)];
        for (int i = 0; i < n; ++i) {
            values[i] = result[i];
            failed[i] = fail[static_cast<std::size_t>(i)] != 0 ? 1 : 0;
        }
    }

private:
    const fast::Kernels& kernels;
    std::vector<fast::Instruction> instructions;
    fast::ProgramView view{};
    std::vector<float> slots;
    std::vector<std::int32_t> fail;
    std::vector<int> inputSlots;
    int resultSlot = 0;
};

} // namespace

const fast::Kernels& FastKernels(FastIsa isa)
{
    if (isa == FastIsa::Sse2)
        return fast::KernelsSse2();
    if (isa == FastIsa::Avx2)
        return fast::KernelsAvx2();
    static const bool avx2 = __builtin_cpu_supports("avx2") && !std::getenv("KRT_NO_AVX2");
    return avx2 ? fast::KernelsAvx2() : fast::KernelsSse2();
}

bool HostHasAvx2() { return __builtin_cpu_supports("avx2"); }

void LibrarySinCos(double x, double* s, double* c)
{
    *s = std::sin(x);
    *c = std::cos(x);
}

std::unique_ptr<BlockEvaluator> MakeFastBlockEvaluator(const FormulaProgram& program, FastIsa isa)
{
    return std::make_unique<FastBlockEvaluator>(program, FastKernels(isa));
}

const char* FastBackendName() { return FastKernels(FastIsa::Auto).name; }

} // namespace krt
