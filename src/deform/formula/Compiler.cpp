#include "deform/formula/Compiler.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>

namespace krt {
namespace {

// Raised when a formula goes beyond the program's room or cannot be rewritten.
struct Incorrect {};

bool IsOperator(unsigned char c) { return c == '^' || c == '*' || c == '/' || c == '+' || c == '-'; }
bool IsOperand(unsigned char c) { return SlotOf(c) >= 0; }
bool IsLowerLetter(unsigned char c) { return c >= 'a' && c <= 'z'; }

// Rejects what the rewriting passes would silently misread: characters outside
// the language, letters that are neither inputs nor function names (they would
// read a slot nothing writes), and a number glued to a letter or a group
// ("2sin(x)" would otherwise become asin(x)).
bool AcceptableText(const std::string& text, const std::string& inputLetters, char separator)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool numeric = (c >= '0' && c <= '9') || c == static_cast<unsigned char>(separator);
        if (numeric) {
            if (i + 1 < text.size() && (IsLowerLetter(static_cast<unsigned char>(text[i + 1])) || text[i + 1] == '('))
                return false;
            continue;
        }
        if (IsOperator(c) || c == '(' || c == ')')
            continue;
        if (!IsLowerLetter(c))
            return false;
        std::size_t end = i;
        while (end < text.size() && IsLowerLetter(static_cast<unsigned char>(text[end])))
            ++end;
        const bool call = end < text.size() && text[end] == '(';
        if (!call && end - i == 1 && inputLetters.find(static_cast<char>(c)) == std::string::npos)
            return false;
        i = end - 1;
    }
    return true;
}

// A literal: digits with at most one separator and at least one digit.
bool ParseNumber(const std::string& run, char separator, float& value)
{
    std::string normal;
    int separators = 0;
    int digits = 0;
    for (char c : run) {
        if (c == separator) {
            ++separators;
            normal += '.';
        } else {
            ++digits;
            normal += c;
        }
    }
    if (separators > 1 || digits == 0)
        return false;
    double parsed = 0;
    const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), parsed);
    if (error != std::errc() || end != normal.data() + normal.size())
        return false;
    value = static_cast<float>(parsed);
    return std::isfinite(value);
}

std::uint32_t ClockSeed()
{
    static std::uint32_t counter = 0;
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return static_cast<std::uint32_t>(ticks) ^ static_cast<std::uint32_t>(ticks >> 32) ^ (++counter * 0x9E3779B9u);
}

} // namespace

FormulaCompiler::FormulaCompiler(char decimalSeparator) : separator(decimalSeparator) {}

unsigned char FormulaCompiler::NewTemporary(FormulaProgram& program)
{
    int k = program.resultIndex;
    while (k < SlotCount && usedLetters[static_cast<std::size_t>(k)])
        ++k;
    if (k >= SlotCount)
        throw Incorrect{};
    program.resultIndex = k + 1;
    return CharOfSlot(k);
}

bool FormulaCompiler::ReplaceLiterals(std::string& text, FormulaProgram& program)
{
    auto numeric = [this](char c) { return (c >= '0' && c <= '9') || c == separator; };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!numeric(text[i]))
            continue;
        std::size_t end = i;
        while (end < text.size() && numeric(text[end]))
            ++end;
        float value = 0;
        if (!ParseNumber(text.substr(i, end - i), separator, value))
            return false;
        const unsigned char literal = NewTemporary(program);
        program.variables[static_cast<std::size_t>(SlotOf(literal))] = value;
        text.replace(i, end - i, 1, static_cast<char>(literal));
    }
    return true;
}

std::string FormulaCompiler::ReduceFlat(std::string text, FormulaProgram& program)
{
    // One level of precedence after the other, each left to right.
    for (const char* level : {"^", "*/", "+-"}) {
        for (;;) {
            const std::size_t at = text.find_first_of(level);
            if (at == std::string::npos)
                break;
            if (at == 0 || at + 1 >= text.size() || !IsOperand(static_cast<unsigned char>(text[at - 1])) ||
                !IsOperand(static_cast<unsigned char>(text[at + 1]))) {
                EvalError = true; // an operator without its two operands
                return text;
            }
            const unsigned char temporary = NewTemporary(program);
            lines.push_back(std::string(1, static_cast<char>(temporary)) + "=" + text.substr(at - 1, 3));
            text.replace(at - 1, 3, 1, static_cast<char>(temporary));
        }
    }
    return text;
}

void FormulaCompiler::ReducePass(std::string& text, FormulaProgram& program)
{
    const std::size_t close = text.find(')');
    const std::size_t open = close == std::string::npos ? std::string::npos : text.rfind('(', close);
    if (open == std::string::npos) {
        text = ReduceFlat(text, program);
        return;
    }
    std::string group = text.substr(open + 1, close - open - 1);
    if (group.size() > 1)
        group = ReduceFlat(group, program);
    if (group.size() != 1 || !IsOperand(static_cast<unsigned char>(group[0]))) {
        EvalError = true; // an empty group, or one that does not reduce to one value
        return;
    }
    std::size_t nameStart = open;
    while (nameStart > 0 && IsLowerLetter(static_cast<unsigned char>(text[nameStart - 1])))
        --nameStart;
    if (nameStart == open) {
        text.replace(open, close - open + 1, group);
        return;
    }
    const unsigned char temporary = NewTemporary(program);
    lines.push_back(std::string(1, static_cast<char>(temporary)) + "=" + text.substr(nameStart, open - nameStart) +
                    "(" + group + ")");
    text.replace(nameStart, close - nameStart + 1, 1, static_cast<char>(temporary));
}

bool FormulaCompiler::MakeInstructions(FormulaProgram& program) const
{
    if (lines.size() > static_cast<std::size_t>(MaxInstructions))
        return false;
    for (const std::string& line : lines) {
        const int i = program.instructionCount++;
        const std::size_t open = line.find('(');
        Operation op;
        unsigned char a, b;
        if (line.find(')') != std::string::npos) {
            a = static_cast<unsigned char>(line[open + 1]);
            b = static_cast<unsigned char>(line[line.find(')') - 1]);
            op = LookupOperation(std::string_view(line).substr(2, open - 2));
            if (!IsFunction(op))
                return false; // a name that is not one of the functions
        } else {
            a = static_cast<unsigned char>(line[2]);
            op = LookupOperation(std::string_view(line).substr(3, 1));
            b = static_cast<unsigned char>(line[4]);
        }
        program.operations[static_cast<std::size_t>(i)] = op;
        program.operand1[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(SlotOf(a));
        program.operand2[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(SlotOf(b));
        program.result[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(SlotOf(static_cast<unsigned char>(line[0])));
    }
    return true;
}

int FormulaCompiler::CompileFormula(const std::string& formula, const std::string& inputLetters,
                                    FormulaProgram& program)
{
    EvalError = false;
    program.randomSeed = fixedSeed ? nextSeed++ : ClockSeed();
    lines.clear();
    program.instructionCount = 0;
    program.resultIndex = 0;
    program.inputLetters = inputLetters;
    usedLetters.fill(false);
    inputDependent.clear();
    for (char letter : inputLetters) {
        const int slot = SlotOf(static_cast<unsigned char>(letter));
        inputDependent.push_back(static_cast<std::uint16_t>(slot));
        usedLetters[static_cast<std::size_t>(slot)] = true;
    }
    if (!AcceptableText(formula, inputLetters, separator))
        return 1;
    // Each pass removes one group, so the last flat reduction needs a pass of its own.
    if (std::count(formula.begin(), formula.end(), '(') >= 100)
        return 1;

    try {
        std::string text = formula;
        if (!ReplaceLiterals(text, program))
            return 1;
        if (text.size() != 1) {
            for (int pass = 0; pass < 100 && !EvalError; ++pass)
                ReducePass(text, program);
            if (text.size() != 1)
                EvalError = true;
        }
        if (EvalError || !IsOperand(static_cast<unsigned char>(text[0])))
            return 1;
        if (!MakeInstructions(program))
            return 1;
        program.resultIndex = 1 + SlotOf(static_cast<unsigned char>(text[0]));
    } catch (const Incorrect&) {
        return 1;
    }
    return OptimiseProgram(program, inputDependent) ? 0 : 1;
}

} // namespace krt
