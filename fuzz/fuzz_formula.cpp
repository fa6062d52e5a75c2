// Any text given to the formula compiler compiles (0) or is refused (1),
// never crashes or hangs. Compiled formulas are then evaluated by the
// reference evaluator and the fast backend, which must fail at the same points
// and, for formulas of exact operations only, give the same floats.

#include "deform/formula/Compiler.h"
#include "deform/formula/FastBackend.h"
#include "deform/formula/Prepare.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool ExactOnly(const krt::FormulaProgram& p)
{
    for (int i = 0; i < p.instructionCount; ++i)
        switch (p.operations[static_cast<std::size_t>(i)]) {
        case krt::Operation::Sin:
        case krt::Operation::Cos:
        case krt::Operation::Tan:
        case krt::Operation::Asin:
        case krt::Operation::Acos:
        case krt::Operation::Atan: return false;
        default: break;
        }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const bool polar = data[0] & 1;
    const char separator = (data[0] & 2) ? ',' : '.';
    const std::array<int, 6> constants{data[1] % 101, 7, 0, 100, 3, 50};
    const std::string text(reinterpret_cast<const char*>(data) + 2, size - 2);
    const krt::PreparedFormulas prepared = krt::PrepareFormulas(text, 640, 480, constants, separator);

    krt::FormulaCompiler compiler(separator);
    compiler.SetRandomSeed(5);
    krt::FormulaProgram program;
    const int result = compiler.CompileFormula(prepared.First(), polar ? "tr" : "xycz", program);
    if (result != 0 && result != 1)
        std::abort();
    if (result != 0)
        return 0;

    auto reference = krt::MakeBlockEvaluator(program, krt::FormulaBackend::Reference);
    auto fast = krt::MakeBlockEvaluator(program, krt::FormulaBackend::Fast);
    float columns[4][krt::BlockSize];
    std::uint32_t points[krt::BlockSize];
    for (int i = 0; i < krt::BlockSize; ++i) {
        columns[0][i] = static_cast<float>(i % 9) - 4.0f;
        columns[1][i] = static_cast<float>(i) * 0.37f;
        columns[2][i] = static_cast<float>(i * i) - 100.0f;
        columns[3][i] = i % 5 == 0 ? 0.0f : 1e6f / static_cast<float>(i);
        points[i] = static_cast<std::uint32_t>(i);
    }
    const float* inputs[4] = {columns[0], columns[1], columns[2], columns[3]};
    const krt::BlockResult a = reference->Evaluate(inputs, points, krt::BlockSize);
    const krt::BlockResult b = fast->Evaluate(inputs, points, krt::BlockSize);
    const bool exact = ExactOnly(program);
    for (int i = 0; i < krt::BlockSize; ++i) {
        if (exact && (a.failed[i] != 0) != (b.failed[i] != 0))
            std::abort();
        if (exact && !a.failed[i] && std::memcmp(&a.values[i], &b.values[i], sizeof(float)) != 0)
            std::abort();
    }
    return 0;
}
