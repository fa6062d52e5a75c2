#include "deform/formula/FormulaProgram.h"

namespace krt {

Operation LookupOperation(std::string_view text)
{
    struct Entry {
        std::string_view text;
        Operation op;
    };
    static constexpr Entry table[] = {
        {"^", Operation::Power},       {"*", Operation::Multiply}, {"/", Operation::Divide},
        {"+", Operation::Add},         {"-", Operation::Subtract}, {"sqrt", Operation::Sqrt},
        {"sqr", Operation::Sqrt},      {"sin", Operation::Sin},    {"cos", Operation::Cos},
        {"asin", Operation::Asin},     {"acos", Operation::Acos},  {"tan", Operation::Tan},
        {"abs", Operation::Abs},       {"atan", Operation::Atan},  {"int", Operation::Int},
        {"random", Operation::Random},
    };
    for (const Entry& e : table)
        if (e.text == text)
            return e.op;
    return Operation::None;
}

bool IsFunction(Operation op) { return op >= Operation::Sqrt; }

} // namespace krt
