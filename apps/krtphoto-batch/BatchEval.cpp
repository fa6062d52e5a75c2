#include "BatchCommands.h"

#include "deform/formula/Compiler.h"
#include "deform/formula/Evaluate.h"
#include "deform/formula/Prepare.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace krt::batch {
namespace {

// A finite single-precision number: not NaN, not infinite, not beyond the
// largest float.
float ParseFloat(const std::string& option, const std::string& text)
{
    char* end = nullptr;
    errno = 0;
    const float v = std::strtof(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !std::isfinite(v) || (errno == ERANGE && v != 0))
        throw UsageError(option + " needs a finite number within the range of single precision, not \"" + text + "\"");
    return v;
}

// What eval was told.
struct EvalRequest {
    bool polar = false;
    int width = 0, height = 0;
    std::array<int, 6> constants{};
    std::vector<std::pair<std::string, float>> vars;
    std::vector<std::string> formulas;
};

EvalRequest ParseEval(const Arguments& args)
{
    EvalRequest r;
    for (ArgumentCursor cursor(args); cursor.Next();) {
        const std::string& a = cursor.Current();
        if (a == "--polar") {
            r.polar = true;
        } else if (a == "--var") {
            const std::string& v = cursor.Value();
            const std::size_t eq = v.find('=');
            if (eq == std::string::npos)
                throw UsageError("--var needs NAME=VALUE");
            r.vars.emplace_back(v.substr(0, eq), ParseFloat("--var", v.substr(eq + 1)));
        } else if (a == "--size") {
            const std::string& v = cursor.Value();
            const std::size_t comma = v.find(',');
            if (comma == std::string::npos)
                throw UsageError("--size needs W,H");
            r.width = ParseInteger("--size", v.substr(0, comma));
            r.height = ParseInteger("--size", v.substr(comma + 1));
        } else if (a == "--set") {
            ParseConstant(cursor.Value(), r.constants, nullptr);
        } else {
            cursor.Plain(r.formulas);
        }
    }
    if (r.formulas.size() != 1)
        throw UsageError("eval needs one formula");
    return r;
}

// The inputs in the order of the input letters; cx and cy are the letters c and z.
void ChosenInputs(const EvalRequest& r, float inputs[4])
{
    const std::vector<std::string> names =
        r.polar ? std::vector<std::string>{"t", "r"} : std::vector<std::string>{"x", "y", "cx", "cy"};
    for (const auto& [varName, varValue] : r.vars) {
        bool known = false;
        for (std::size_t k = 0; k < names.size(); ++k)
            if (names[k] == varName) {
                inputs[k] = varValue;
                known = true;
            }
        if (!known)
            throw UsageError("\"" + varName + "\" is not an input of a " + (r.polar ? "polar" : "Cartesian") +
                             " formula");
    }
}

int Eval(const Arguments& args)
{
    const EvalRequest r = ParseEval(args);
    float inputs[4] = {};
    ChosenInputs(r, inputs);
    const char separator = LocaleDecimalSeparator();
    const PreparedFormulas prepared = PrepareFormulas(r.formulas[0], r.width, r.height, r.constants, separator);
    FormulaCompiler compiler(separator);
    FormulaProgram program;
    if (compiler.CompileFormula(prepared.First(), r.polar ? "tr" : "xycz", program) != 0) {
        std::fputs("Incorrect formula\n", stderr);
        return 1;
    }
    std::uint8_t error = 0;
    const float value = EvaluateFormula(program, inputs, error);
    if (error)
        std::puts("fail");
    else
        std::printf("%.9g\n", static_cast<double>(value));
    return 0;
}

} // namespace

const BatchCommand EvalCommand{
    "eval",
    "eval FORMULA [--polar] [--var x=V]... [--size W,H] [--set a=N]...",
    "Usage: krtphoto-batch eval FORMULA [--polar] [--var NAME=V]... [--size W,H]\n"
    "         [--set a=N]...\n"
    "\n"
    "Prepares, compiles and evaluates one formula of the deformation language for\n"
    "one point, and prints its value (%.9g), or \"fail\" when the point fails (a\n"
    "division by zero, a root of a negative number, ...).\n"
    "\n"
    "  --polar         the inputs are t and r (angle and radius), not x, y, cx, cy\n"
    "  --var NAME=V    an input's value (missing inputs are 0); V a finite number\n"
    "  --size W,H      the picture's size, w and h in the formula\n"
    "  --set a=N       a constant a to f at slider position N, 0 to 100\n"
    "\n"
    "An incorrect formula prints \"Incorrect formula\" and exits 1.\n",
    Eval,
};

} // namespace krt::batch
