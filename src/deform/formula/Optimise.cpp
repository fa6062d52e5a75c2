#include "deform/formula/Compiler.h"
#include "deform/formula/Semantics.h"

#include <algorithm>
#include <cstring>

namespace krt {
namespace {

// Evaluates an instruction whose operands are constants, in double precision,
// stored in single precision. A value that cannot be computed makes the
// formula incorrect rather than leave the slot holding whatever it held.
bool Fold(Operation op, double a, double b, float& r)
{
    double v = 0;
    switch (op) {
    case Operation::Add: v = a + b; break;
    case Operation::Subtract: v = a - b; break;
    case Operation::Multiply: v = a * b; break;
    case Operation::Divide:
        if (b == 0)
            return false;
        v = a / b;
        break;
    case Operation::Power:
        if (PowerFails(a, b))
            return false;
        v = std::pow(a, b);
        break;
    case Operation::Sqrt:
        if (a < 0)
            return false;
        v = std::sqrt(a);
        break;
    case Operation::Sin: v = std::sin(a); break;
    case Operation::Cos: v = std::cos(a); break;
    case Operation::Tan: v = std::tan(a); break;
    case Operation::Asin: v = std::asin(a); break;
    case Operation::Acos: v = std::acos(a); break;
    case Operation::Atan: v = std::atan(a); break;
    case Operation::Abs: v = std::fabs(a); break;
    case Operation::Int: v = std::trunc(a); break;
    case Operation::Random:
    case Operation::None: return false;
    }
    r = Store(v);
    return std::isfinite(r);
}

bool Contains(const std::vector<std::uint16_t>& list, int slot)
{
    return std::find(list.begin(), list.end(), static_cast<std::uint16_t>(slot)) != list.end();
}

using Dropped = std::array<bool, MaxInstructions>;

// Constant folding: instructions that depend on no input are computed now
// and dropped; the results of the others join the input-dependent slots.
bool FoldConstants(FormulaProgram& p, std::vector<std::uint16_t>& inputDependent, Dropped& dropped)
{
    for (int i = 0; i < p.instructionCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const Operation op = p.operations[k];
        if (op == Operation::None)
            return false;
        if (Contains(inputDependent, p.operand1[k]) || Contains(inputDependent, p.operand2[k]) ||
            op == Operation::Random) {
            if (inputDependent.size() >= static_cast<std::size_t>(SlotCount))
                return false;
            inputDependent.push_back(p.result[k]);
            continue;
        }
        float value = 0;
        if (!Fold(op, p.variables[p.operand1[k]], p.variables[p.operand2[k]], value))
            return false;
        p.variables[p.result[k]] = value;
        dropped[k] = true;
    }
    return true;
}

// Duplicate removal: a later instruction computing the same operation on the
// same operands is dropped and its readers read the earlier result. Operands
// are the same when they are one slot, or two constant slots with the same
// value (each literal has a slot of its own, yet random(9) written twice must
// draw one number). Sets the program's result slot.
void DropDuplicates(FormulaProgram& p, const std::vector<std::uint16_t>& inputDependent, Dropped& dropped)
{
    const int count = p.instructionCount;
    auto sameOperand = [&](std::uint8_t a, std::uint8_t b) {
        if (a == b)
            return true;
        if (Contains(inputDependent, a) || Contains(inputDependent, b))
            return false;
        const float va = p.variables[a], vb = p.variables[b];
        return std::memcmp(&va, &vb, sizeof va) == 0;
    };
    int resultSlot = p.ResultSlot();
    for (int round = 0; round < 100; ++round) {
        bool changed = false;
        for (int i = 0; i < count; ++i) {
            if (dropped[static_cast<std::size_t>(i)])
                continue;
            for (int j = i + 1; j < count; ++j) {
                const auto a = static_cast<std::size_t>(i), b = static_cast<std::size_t>(j);
                if (dropped[b] || p.operations[a] != p.operations[b] || !sameOperand(p.operand1[a], p.operand1[b]) ||
                    !sameOperand(p.operand2[a], p.operand2[b]))
                    continue;
                dropped[b] = true;
                changed = true;
                for (int m = 0; m < count; ++m) {
                    const auto n = static_cast<std::size_t>(m);
                    if (p.operand1[n] == p.result[b])
                        p.operand1[n] = p.result[a];
                    if (p.operand2[n] == p.result[b])
                        p.operand2[n] = p.result[a];
                }
                if (resultSlot == p.result[b])
                    resultSlot = p.result[a];
            }
        }
        if (!changed)
            break;
    }
    p.resultIndex = resultSlot + 1;
}

// Compaction: the instructions that were not dropped, in their order.
void Compact(FormulaProgram& p, const Dropped& dropped)
{
    int kept = 0;
    for (int i = 0; i < p.instructionCount; ++i) {
        const auto from = static_cast<std::size_t>(i), to = static_cast<std::size_t>(kept);
        if (dropped[from])
            continue;
        p.operations[to] = p.operations[from];
        p.operand1[to] = p.operand1[from];
        p.operand2[to] = p.operand2[from];
        p.result[to] = p.result[from];
        ++kept;
    }
    p.instructionCount = kept;
}

// Squaring by a constant exponent of exactly 2 becomes a multiply.
void SquaresToMultiplies(FormulaProgram& p, const std::vector<std::uint16_t>& inputDependent)
{
    for (int i = 0; i < p.instructionCount; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (p.operations[k] == Operation::Power && p.variables[p.operand2[k]] == 2.0f &&
            !Contains(inputDependent, p.operand2[k])) {
            p.operations[k] = Operation::Multiply;
            p.operand2[k] = p.operand1[k];
        }
    }
}

} // namespace

bool OptimiseProgram(FormulaProgram& p, std::vector<std::uint16_t>& inputDependent)
{
    Dropped dropped{};
    if (!FoldConstants(p, inputDependent, dropped))
        return false;
    DropDuplicates(p, inputDependent, dropped);
    Compact(p, dropped);
    SquaresToMultiplies(p, inputDependent);
    return true;
}

} // namespace krt
