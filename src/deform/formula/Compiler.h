#pragma once

#include "deform/formula/FormulaProgram.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace krt {

// Compiles one formula into a program by rewriting its text: literals become
// temporaries, the innermost group is reduced pass by pass, and every
// reduction of an operator or a function call adds an instruction line. The
// work state is shared by the compilations of a formula pair and reset by each.
class FormulaCompiler {
public:
    // decimalSeparator: the character that, besides digits, makes up a number.
    explicit FormulaCompiler(char decimalSeparator = '.');

    // Returns 0 when the formula compiled into `program`, 1 when it is
    // incorrect: a syntax error, an unknown name, a malformed number, more than
    // 99 groups, a letter that is not an input, a formula beyond the program's
    // fixed limits, or a constant part whose value cannot be computed.
    int CompileFormula(const std::string& formula, const std::string& inputLetters, FormulaProgram& program);

    // Fixes the seed of the random numbers of the next compilations (tests);
    // by default each compilation seeds from the clock.
    void SetRandomSeed(std::uint32_t seed)
    {
        fixedSeed = true;
        nextSeed = seed;
    }

    // The instruction lines of the last compilation, in the order they were made.
    const std::vector<std::string>& InstructionLines() const { return lines; }

private:
    unsigned char NewTemporary(FormulaProgram& program);
    void ReducePass(std::string& text, FormulaProgram& program);
    std::string ReduceFlat(std::string text, FormulaProgram& program);
    bool ReplaceLiterals(std::string& text, FormulaProgram& program);
    bool MakeInstructions(FormulaProgram& program) const;

    char separator;
    std::array<bool, SlotCount> usedLetters{};
    std::vector<std::uint16_t> inputDependent;
    std::vector<std::string> lines;
    bool EvalError = false;
    bool fixedSeed = false;
    std::uint32_t nextSeed = 0;
};

// Folds constant instructions, removes duplicates, compacts the list and turns
// squaring into a multiply. `inputDependent` lists the slots whose values vary
// from point to point. Returns false when a constant part cannot be computed
// (a division by zero, an invalid operation, an overflow) or the list of
// varying slots would exceed its room.
bool OptimiseProgram(FormulaProgram& program, std::vector<std::uint16_t>& inputDependent);

} // namespace krt
