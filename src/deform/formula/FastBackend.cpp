// The fast formula backend: evaluates a block of points per call through the
// vectorised kernels of the host processor.
//
// On a grid (the Cartesian warp) the instructions fall into three groups:
// those that depend on the column inputs alone are computed once per column
// block and kept, those that depend on the row inputs alone once per row, and
// only the rest once per block. Every group keeps its own failure flags, so a
// reused group fails the same points it failed when it was computed.

#include "deform/formula/FastBackend.h"

#include "deform/formula/Evaluate.h"
#include "deform/formula/Semantics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
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

constexpr int Lanes = fast::Lanes;

// What an instruction's value depends on.
enum Group { ColumnGroup, RowGroup, PointGroup, GroupCount };

using LaneBuffer = std::vector<float>;

class FastBlockEvaluator : public BlockEvaluator {
public:
    FastBlockEvaluator(const FormulaProgram& program, const fast::Kernels& k)
        : kernels(k), seed(program.randomSeed), blockSlots(new float[static_cast<std::size_t>(SlotCount) * Lanes]),
          rowSlots(new float[static_cast<std::size_t>(SlotCount) * Lanes])
    {
        for (char letter : program.inputLetters)
            inputSlots.push_back(SlotOf(static_cast<unsigned char>(letter)));
        resultSlot = program.ResultSlot();
        Classify(program);
        for (int s = 0; s < SlotCount; ++s)
            pointers[s] = &blockSlots[static_cast<std::size_t>(s * Lanes)];
        // Slots that hold constants (literals and folded values) get the value in
        // every lane; the storage of the others is written before it is read.
        // (Only what is used is touched: a warp makes an evaluator per thread.)
        bool written[SlotCount] = {};
        for (int slot : inputSlots)
            written[slot] = true;
        for (int i = 0; i < program.instructionCount; ++i)
            written[program.result[static_cast<std::size_t>(i)]] = true;
        auto constant = [&](int slot) {
            if (!written[slot]) {
                std::fill_n(pointers[slot], Lanes, program.variables[static_cast<std::size_t>(slot)]);
                written[slot] = true;
            }
        };
        for (int i = 0; i < program.instructionCount; ++i) {
            constant(program.operand1[static_cast<std::size_t>(i)]);
            constant(program.operand2[static_cast<std::size_t>(i)]);
        }
        constant(resultSlot);
    }

    BlockResult Evaluate(const float* const* inputs, const std::uint32_t* points, int,
                         const GridPosition* grid) override
    {
        // Inputs are read where the caller keeps them.
        for (std::size_t k = 0; k < inputSlots.size(); ++k)
            pointers[inputSlots[k]] = const_cast<float*>(inputs[k]);
        if (grid) {
            ColumnBlock& column = ColumnGroupFor(grid->columnBlock, points);
            if (grid->row != cachedRow || !rowValid) {
                std::fill(std::begin(rowFail), std::end(rowFail), 0);
                SetPointers(RowGroup, rowSlots.get());
                RunGroup(RowGroup, points, rowFail);
                rowFailed = AnyFailed(rowFail);
                cachedRow = grid->row;
                rowValid = true;
            }
            SetPointers(RowGroup, rowSlots.get());
            SetPointers(ColumnGroup, column.slots.data(), true);
            // Most formulas fail nowhere: then there is nothing to combine.
            if (!column.failed && !rowFailed && groups[PointGroup].empty())
                return {pointers[resultSlot], noFailures};
            if (column.failed || rowFailed) {
                const std::int32_t* __restrict a = column.fail;
                const std::int32_t* __restrict b = rowFail;
                std::int32_t* __restrict out = blockFail;
                for (int i = 0; i < Lanes; ++i)
                    out[i] = a[i] | b[i];
            } else {
                std::fill(std::begin(blockFail), std::end(blockFail), 0);
            }
            RunGroup(PointGroup, points, blockFail);
        } else {
            SetPointers(ColumnGroup, blockSlots.get());
            SetPointers(RowGroup, blockSlots.get());
            std::fill(std::begin(blockFail), std::end(blockFail), 0);
            for (const auto& group : groups)
                RunInstructions(group, points, blockFail);
        }
        return {pointers[resultSlot], blockFail};
    }

private:
    struct ColumnBlock {
        bool valid = false;
        bool failed = false; // any point of the block
        LaneBuffer slots;
        std::int32_t fail[Lanes];
    };

    static bool AnyFailed(const std::int32_t* fail)
    {
        return std::any_of(fail, fail + Lanes, [](std::int32_t f) { return f != 0; });
    }

    // Sorts the instructions into the groups: column inputs are x and c,
    // row inputs y and z; random depends on the point, and so does all that
    // uses its value.
    void Classify(const FormulaProgram& program)
    {
        std::uint8_t depends[SlotCount] = {}; // bit 0: column, bit 1: row, bit 2: point
        for (char letter : program.inputLetters) {
            const int slot = SlotOf(static_cast<unsigned char>(letter));
            depends[slot] = (letter == 'x' || letter == 'c') ? 1 : (letter == 'y' || letter == 'z') ? 2 : 4;
        }
        for (int i = 0; i < program.instructionCount; ++i) {
            const auto k = static_cast<std::size_t>(i);
            std::uint8_t d = depends[program.operand1[k]] | depends[program.operand2[k]];
            if (program.operations[k] == Operation::Random)
                d |= 4;
            depends[program.result[k]] = d;
            const Group group = d == 1 ? ColumnGroup : d == 2 ? RowGroup : PointGroup;
            groups[group].push_back({static_cast<std::uint8_t>(program.operations[k]), program.operand1[k],
                                     program.operand2[k], program.result[k], static_cast<std::uint16_t>(i)});
            groupSlots[group].push_back(program.result[k]);
        }
    }

    // Points the slots a group writes at storage laid out slot by slot
    // (`compact`: only the group's own slots, in group order).
    void SetPointers(Group group, float* base, bool compact = false)
    {
        const std::vector<std::uint8_t>& slots = groupSlots[group];
        for (std::size_t i = 0; i < slots.size(); ++i)
            pointers[slots[i]] = base + (compact ? static_cast<int>(i) : slots[i]) * Lanes;
    }

    void RunInstructions(const std::vector<fast::Instruction>& instructions, const std::uint32_t* points,
                         std::int32_t* fail)
    {
        if (instructions.empty())
            return;
        const fast::ProgramView view{instructions.data(), static_cast<int>(instructions.size()), seed, ScalarOperation};
        kernels.run(view, pointers, points, fail);
    }

    void RunGroup(Group group, const std::uint32_t* points, std::int32_t* fail)
    {
        RunInstructions(groups[group], points, fail);
    }

    ColumnBlock& ColumnGroupFor(int columnBlock, const std::uint32_t* points)
    {
        if (columnBlock < 0)
            columnBlock = 0;
        if (static_cast<std::size_t>(columnBlock) >= columnCache.size())
            columnCache.resize(static_cast<std::size_t>(columnBlock) + 1);
        ColumnBlock& block = columnCache[static_cast<std::size_t>(columnBlock)];
        if (!block.valid) {
            block.slots.assign(groupSlots[ColumnGroup].size() * Lanes, 0.0f);
            std::fill(std::begin(block.fail), std::end(block.fail), 0);
            SetPointers(ColumnGroup, block.slots.data(), true);
            RunGroup(ColumnGroup, points, block.fail);
            block.failed = AnyFailed(block.fail);
            block.valid = true;
        }
        return block;
    }

    const fast::Kernels& kernels;
    std::uint32_t seed;
    std::unique_ptr<float[]> blockSlots; // SlotCount x Lanes
    std::unique_ptr<float[]> rowSlots;
    std::int32_t rowFail[Lanes] = {};
    std::int32_t blockFail[Lanes] = {};
    std::int32_t noFailures[Lanes] = {};
    bool rowFailed = false;
    int cachedRow = 0;
    bool rowValid = false;
    std::vector<ColumnBlock> columnCache;
    std::vector<fast::Instruction> groups[GroupCount];
    std::vector<std::uint8_t> groupSlots[GroupCount];
    std::vector<int> inputSlots;
    int resultSlot = 0;
    float* pointers[SlotCount] = {};
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
