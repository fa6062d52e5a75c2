#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace krt {

// What one instruction of a compiled formula does.
enum class Operation : std::uint8_t {
    None,
    Power,
    Multiply,
    Divide,
    Add,
    Subtract,
    Sqrt, // "sqrt" and "sqr" alike
    Sin,
    Cos,
    Asin,
    Acos,
    Tan,
    Abs,
    Atan,
    Int,
    Random,
};

// The operation an operator character or function name selects; None for any other text.
Operation LookupOperation(std::string_view text);
bool IsFunction(Operation op);

// Room in a program: instructions, and variable slots for the characters 97..196.
constexpr int MaxInstructions = 100;
constexpr int SlotCount = 100;

// The slot of a formula character ("a" is slot 0, "z" slot 25, then the
// compiler's own temporaries), or -1 for a character that names no slot.
constexpr int SlotOf(unsigned char c) { return c >= 97 && c < 97 + SlotCount ? c - 97 : -1; }
constexpr unsigned char CharOfSlot(int slot) { return static_cast<unsigned char>(97 + slot); }

// One compiled formula: a flat list of three-address instructions over the
// variable table. A function call names its argument as both operands.
struct FormulaProgram {
    std::array<Operation, MaxInstructions> operations{};
    std::array<std::uint8_t, MaxInstructions> operand1{};
    std::array<std::uint8_t, MaxInstructions> operand2{};
    std::array<std::uint8_t, MaxInstructions> result{};
    // Single-precision slots. Literals and folded constants are written at
    // compile time, the inputs before each evaluation, the temporaries by the
    // instructions. Kept between compilations.
    std::array<float, SlotCount> variables{};
    int instructionCount = 0;
    // While compiling, the next slot to try for a temporary; afterwards
    // 1 + the slot that holds the formula's value.
    int resultIndex = 0;
    // The input letters the program reads: "xycz" (Cartesian) or "tr" (polar).
    std::string inputLetters;
    // Seeds the program's random numbers; set when it is compiled.
    std::uint32_t randomSeed = 0;
    // Points evaluated one at a time so far: each draws its own random numbers.
    std::uint32_t evaluations = 0;

    int ResultSlot() const { return resultIndex - 1; }
};

} // namespace krt
