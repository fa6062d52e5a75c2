#include "deform/formula/Compiler.h"
#include "deform/formula/Evaluate.h"
#include "deform/formula/Prepare.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <set>
#include <string>

namespace krt {
namespace {

const std::array<int, 6> NoConstants{};

struct Compiled {
    int result = 1;
    FormulaProgram program;
    std::vector<std::string> lines;
};

Compiled Compile(const std::string& formula, const std::string& letters = "xycz", char separator = '.')
{
    Compiled c;
    FormulaCompiler compiler(separator);
    compiler.SetRandomSeed(1234);
    c.result = compiler.CompileFormula(formula, letters, c.program);
    c.lines = compiler.InstructionLines();
    return c;
}

// The float-form value at (x, y, c, z), or nothing when the point fails.
std::optional<float> Value(const std::string& formula, float x = 0, float y = 0, float cx = 0, float cy = 0)
{
    Compiled c = Compile(formula);
    EXPECT_EQ(c.result, 0) << formula;
    const float inputs[4] = {x, y, cx, cy};
    std::uint8_t error = 0;
    const float v = EvaluateFormula(c.program, inputs, error);
    if (error) {
        EXPECT_EQ(v, FailureValue);
        return std::nullopt;
    }
    return v;
}

TEST(Formula, ValuesOfTheLanguage)
{
    struct Case {
        const char* formula;
        float x;
        float expected;
    };
    const Case cases[] = {
        {"x", 7, 7},           {"5", 0, 5},
        {"(x)", 3, 3},         {"2^3^2", 0, 64},
        {"8/2/2", 0, 2},       {"1+2*3^2", 0, 19},
        {"sqr(16)", 0, 4},     {"sqrt(x)", 2.25f, 1.5f},
        {"int(0-2.7)", 0, -2}, {"int(2.7)", 0, 2},
        {"int(x)", -0.5f, 0},  {"abs(0-x)", 3, 3},
        {"x^3", 1.5f, 3.375f}, {"x^1", -2, -2},
        {"x^2", -3, 9},        {"(x+1)*(x-1)", 5, 24},
        {"x-3-2", 10, 5},      {"random(0)", 0, 0},
        {"((((x))))", 4, 4},   {"x*0.5", 3, 1.5f},
        {".5+x", 1, 1.5f},     {"2^0.5", 0, std::sqrt(2.0f)},
    };
    for (const Case& c : cases) {
        const auto v = Value(c.formula, c.x);
        ASSERT_TRUE(v) << c.formula;
        EXPECT_FLOAT_EQ(*v, c.expected) << c.formula;
    }
}

TEST(Formula, FunctionsUseDoublePrecisionRoundedOnce)
{
    for (float x : {0.1f, 1.0f, 2.5f, -3.7f, 1000.25f}) {
        EXPECT_EQ(*Value("sin(x)", x), static_cast<float>(std::sin(static_cast<double>(x))));
        EXPECT_EQ(*Value("atan(x)", x), static_cast<float>(std::atan(static_cast<double>(x))));
        EXPECT_EQ(*Value("x^0.5", std::fabs(x)), static_cast<float>(std::pow(std::fabs(x), 0.5)));
    }
    EXPECT_EQ(*Value("sin(x)+sin(x)", 0.7f), 2 * static_cast<float>(std::sin(0.7)));
}

TEST(Formula, FailingPoints)
{
    EXPECT_FALSE(Value("1/(x-x)", 5));
    EXPECT_FALSE(Value("1/(x-x)", 0));
    EXPECT_FALSE(Value("x^0", 0));
    EXPECT_TRUE(Value("x^0", 2));
    EXPECT_FALSE(Value("x^0.5", -4));
    EXPECT_FALSE(Value("x^(0-1)", 0));
    EXPECT_TRUE(Value("x^(0-1)", 2));
    EXPECT_TRUE(Value("x^3", -2)); // a negative base with an integer exponent
    EXPECT_FALSE(Value("sqrt(x)", -1));
    EXPECT_FALSE(Value("asin(x)", 2));
    EXPECT_FALSE(Value("x*x*x*x*x*x*x*x*x*x", 1e5f)); // too large for single precision
    EXPECT_FALSE(Value("int(x)", 3e9f));
    EXPECT_TRUE(Value("int(x)", -2147483648.0f));
    EXPECT_FALSE(Value("x/0+1", 1)) << "a failure early in the formula fails the point";
    // A failure is not undone by later operations.
    EXPECT_FALSE(Value("0*sqrt(x)", -1));

    Compiled c = Compile("1/(x-x)");
    std::uint8_t error = 0;
    EXPECT_EQ(EvaluateFormula16(c.program, 3, 4, 0, 0, error), FailureValue16);
    EXPECT_EQ(error, 1);
    c = Compile("x+0.9");
    error = 0;
    EXPECT_EQ(EvaluateFormula16(c.program, 3, 4, 0, 0, error), 3);
    EXPECT_EQ(error, 0) << "the error byte is never cleared, only set";
    c = Compile("x-70000");
    EXPECT_EQ(EvaluateFormula16(c.program, 0, 0, 0, 0, error), static_cast<std::uint16_t>(-70000));
}

TEST(Formula, RandomNumbers)
{
    std::set<float> seen;
    for (float x = 0; x < 200; ++x) {
        const auto v = Value("random(0-5)", x);
        ASSERT_TRUE(v);
        EXPECT_GE(*v, 0);
        EXPECT_LE(*v, 4);
        EXPECT_EQ(*v, std::floor(*v));
    }
    Compiled c = Compile("random(1000)+0*x");
    for (int i = 0; i < 50; ++i) {
        const float inputs[4] = {static_cast<float>(i), 0, 0, 0};
        std::uint8_t error = 0;
        seen.insert(EvaluateFormula(c.program, inputs, error));
    }
    EXPECT_GT(seen.size(), 40u) << "drawn anew for every point";
    // Two calls with the same argument are one instruction, hence one value.
    c = Compile("random(9)-random(9)");
    EXPECT_EQ(c.program.instructionCount, 2);
    for (int i = 0; i < 20; ++i) {
        const float inputs[4] = {};
        std::uint8_t error = 0;
        EXPECT_EQ(EvaluateFormula(c.program, inputs, error), 0);
    }
}

TEST(Formula, IncorrectFormulas)
{
    std::string hundredGroups;
    for (int i = 0; i < 100; ++i)
        hundredGroups += "(";
    hundredGroups += "x";
    for (int i = 0; i < 100; ++i)
        hundredGroups += ")";
    std::string ninetyNineGroups = hundredGroups.substr(1, hundredGroups.size() - 2);
    std::string sequentialGroups = "(x)";
    for (int i = 1; i < 100; ++i)
        sequentialGroups += "+(x)";
    std::string manyTerms = "x";
    for (int i = 0; i < 101; ++i)
        manyTerms += "+x";
    std::string manyLiterals = "1";
    for (int i = 2; i < 100; ++i)
        manyLiterals += "+" + std::to_string(i) + "*x";

    const std::string incorrect[] = {
        "-x",
        "x*-2",
        "2x",
        "xy",
        "",
        "foo(x)",
        "x+",
        "(x",
        "x)",
        "()",
        "sin()",
        "sin(x,y)",
        "x y",
        "g+x",
        "t+x",
        "1.2.3",
        ".",
        "x++y",
        "+",
        "(",
        "2sin(x)",
        "2(x)",
        "sin(xy)",
        "x^",
        "*x",
        "1/0+x",
        "sqrt(0-1)+x",
        "0^0+x",
        "99999999999999999999999999999999999999999+x",
        "X",
        hundredGroups,
        sequentialGroups,
        manyTerms,
        manyLiterals,
        "\xd1\x85+x",
    };
    for (const std::string& formula : incorrect)
        EXPECT_EQ(Compile(formula).result, 1) << '"' << formula << '"';
    EXPECT_EQ(Compile(ninetyNineGroups).result, 0);
    EXPECT_EQ(Compile("t*r", "tr").result, 0);
    EXPECT_EQ(Compile("x", "tr").result, 1) << "x is not an input of a polar formula";
}

TEST(Formula, LinesAndOptimisedInstructions)
{
    // Literals take temporaries first (skipping the input letters), then each
    // reduction makes a line, highest precedence first.
    Compiled c = Compile("1+2*3^2");
    EXPECT_EQ(c.lines, (std::vector<std::string>{"f=d^e", "g=b*f", "h=a+g"}));
    EXPECT_EQ(c.program.instructionCount, 0) << "constants fold away";
    EXPECT_EQ(c.program.ResultSlot(), SlotOf('h'));

    c = Compile("sin(x)+cos(y)");
    EXPECT_EQ(c.lines, (std::vector<std::string>{"a=sin(x)", "b=cos(y)", "d=a+b"}));

    c = Compile("x*(2+3)");
    ASSERT_EQ(c.program.instructionCount, 1);
    EXPECT_EQ(c.program.operations[0], Operation::Multiply);
    EXPECT_EQ(c.program.variables[c.program.operand2[0]], 5.0f);

    c = Compile("x^2+y^2");
    ASSERT_EQ(c.program.instructionCount, 3);
    EXPECT_EQ(c.program.operations[0], Operation::Multiply);
    EXPECT_EQ(c.program.operand1[0], c.program.operand2[0]);
    EXPECT_EQ(c.program.operations[1], Operation::Multiply);
    EXPECT_EQ(c.program.operations[2], Operation::Add);

    c = Compile("x^(1+1)");
    ASSERT_EQ(c.program.instructionCount, 1);
    EXPECT_EQ(c.program.operations[0], Operation::Multiply) << "a folded exponent of 2 squares too";

    c = Compile("x^y");
    ASSERT_EQ(c.program.instructionCount, 1);
    EXPECT_EQ(c.program.operations[0], Operation::Power) << "an input exponent stays a power";

    c = Compile("sin(x)*y+sin(x)*y");
    EXPECT_EQ(c.program.instructionCount, 3) << "sin and the product are each computed once";
}

TEST(Formula, PreparationSubstitutesStandaloneLetters)
{
    struct Case {
        const char* text;
        const char* prepared;
    };
    const Case cases[] = {
        {"w*a|y", "640*50|y"},
        {"atan(c)|cos(x)", "atan(3)|cos(x)"},
        {"cx*2+w/2|cy*2+h/2", "c*2+640/2|z*2+480/2"},
        {"a|b", "50|0"},
        {"x+f|y-e", "x+6|y-5"},
        {"ab|ba", "ab|ba"},
        {"1.5*x|y", "1,5*x|y"},
    };
    const std::array<int, 6> constants{50, 0, 3, 4, 5, 6};
    for (const Case& c : cases)
        EXPECT_EQ(PrepareFormulas(c.text, 640, 480, constants, ',').text, c.prepared) << c.text;

    const PreparedFormulas p = PrepareFormulas("t+r|cx", 10, 10, NoConstants, '.');
    EXPECT_TRUE(p.tUsed);
    EXPECT_TRUE(p.rUsed);
    EXPECT_TRUE(p.cxUsed);
    EXPECT_FALSE(p.cyUsed);
    EXPECT_EQ(p.First(), "t+r");
    EXPECT_EQ(p.Second(), "c");
}

TEST(Formula, LocaleDecimalComma)
{
    for (const char* text : {"1.5*x", "1,5*x"}) {
        const PreparedFormulas p = PrepareFormulas(std::string(text) + "|y", 0, 0, NoConstants, ',');
        Compiled c = Compile(p.First(), "xycz", ',');
        ASSERT_EQ(c.result, 0) << text;
        const float inputs[4] = {2, 0, 0, 0};
        std::uint8_t error = 0;
        EXPECT_EQ(EvaluateFormula(c.program, inputs, error), 3.0f) << text;
    }
}

TEST(Formula, VariableTableSurvivesRecompilation)
{
    FormulaCompiler compiler;
    FormulaProgram program;
    ASSERT_EQ(compiler.CompileFormula("x+7", "xycz", program), 0);
    program.variables[60] = 42.0f;
    ASSERT_EQ(compiler.CompileFormula("x*2", "xycz", program), 0);
    EXPECT_EQ(program.variables[60], 42.0f);
    const float inputs[4] = {4, 0, 0, 0};
    std::uint8_t error = 0;
    EXPECT_EQ(EvaluateFormula(program, inputs, error), 8.0f);
}

} // namespace
} // namespace krt
