#include "deform/formula/Evaluate.h"

#include "deform/formula/FastBackend.h"
#include "deform/formula/Semantics.h"

namespace krt {

bool EvaluateProgram(const FormulaProgram& p, float* slots, const float* inputs, std::uint32_t point, float& value)
{
    for (std::size_t k = 0; k < p.inputLetters.size(); ++k)
        slots[SlotOf(static_cast<unsigned char>(p.inputLetters[k]))] = inputs[k];
    bool ok = true;
    for (int i = 0; i < p.instructionCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const Operation op = p.operations[k];
        const std::uint32_t bits =
            op == Operation::Random ? RandomBits(p.randomSeed, point, static_cast<std::uint32_t>(i)) : 0;
        float r = 0;
        ok = RunOperation(op, slots[p.operand1[k]], slots[p.operand2[k]], bits, r) && ok;
        slots[p.result[k]] = r;
    }
    value = slots[p.ResultSlot()];
    return ok;
}

float EvaluateFormula(FormulaProgram& p, const float* inputs, std::uint8_t& errorByte)
{
    float value = 0;
    if (!EvaluateProgram(p, p.variables.data(), inputs, p.evaluations++, value)) {
        errorByte = 1;
        return FailureValue;
    }
    return value;
}

std::uint16_t EvaluateFormula16(FormulaProgram& p, std::uint16_t x, std::uint16_t y, float c, float z,
                                std::uint8_t& errorByte)
{
    const float inputs[4] = {static_cast<float>(x), static_cast<float>(y), c, z};
    float value = 0;
    std::int32_t n = 0;
    if (!EvaluateProgram(p, p.variables.data(), inputs, p.evaluations++, value) || !TruncateToInt32(value, n)) {
        errorByte = 1;
        return FailureValue16;
    }
    return static_cast<std::uint16_t>(n);
}

namespace {

class ReferenceBlockEvaluator : public BlockEvaluator {
public:
    explicit ReferenceBlockEvaluator(const FormulaProgram& program) : p(program), slots(program.variables) {}

    BlockResult Evaluate(const float* const* inputs, const std::uint32_t* points, int n, const GridPosition*) override
    {
        const std::size_t letters = p.inputLetters.size();
        float point[4] = {};
        for (int i = 0; i < n; ++i) {
            for (std::size_t k = 0; k < letters; ++k)
                point[k] = inputs[k][i];
            failed[i] = EvaluateProgram(p, slots.data(), point, points[i], values[i]) ? 0 : FailedLane;
        }
        return {values, failed};
    }

private:
    const FormulaProgram& p;
    std::array<float, SlotCount> slots;
    float values[BlockSize] = {};
    std::int32_t failed[BlockSize] = {};
};

} // namespace

std::unique_ptr<BlockEvaluator> MakeBlockEvaluator(const FormulaProgram& program, FormulaBackend backend, FastIsa isa)
{
    if (backend == FormulaBackend::Fast)
        return MakeFastBlockEvaluator(program, isa);
    return std::make_unique<ReferenceBlockEvaluator>(program);
}

} // namespace krt
