// The fast backend against the reference evaluator: the same failures, the
// same floats for exact operations, at most one unit in the last place for
// the transcendental functions.

#include "deform/formula/FastBackend.h"
#include "deform/formula/Compiler.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace krt {
namespace {

std::int64_t UlpDistance(float a, float b)
{
    if (a == b)
        return 0;
    std::int32_t ia, ib;
    std::memcpy(&ia, &a, 4);
    std::memcpy(&ib, &b, 4);
    // Map to a monotonic integer line.
    const std::int64_t la = ia < 0 ? -static_cast<std::int64_t>(ia & 0x7FFFFFFF) : ia;
    const std::int64_t lb = ib < 0 ? -static_cast<std::int64_t>(ib & 0x7FFFFFFF) : ib;
    return std::llabs(la - lb);
}

std::vector<FastIsa> IsasToTest()
{
    std::vector<FastIsa> isas{FastIsa::Sse2};
    if (HostHasAvx2())
        isas.push_back(FastIsa::Avx2);
    return isas;
}

struct Comparison {
    long points = 0;
    long differing = 0; // values that are not bit-identical
    std::int64_t worstUlp = 0;
    long failureMismatches = 0;
};

// Evaluates `program` with both backends on `inputs` (one vector per input letter).
Comparison Compare(const FormulaProgram& program, std::vector<std::vector<float>> inputs, FastIsa isa)
{
    Comparison result;
    // Evaluators read whole blocks: the last one is padded.
    const std::size_t padded = (inputs[0].size() + BlockSize - 1) / BlockSize * BlockSize;
    const std::size_t total = inputs[0].size();
    for (auto& column : inputs)
        column.resize(padded, 0.0f);
    auto reference = MakeBlockEvaluator(program, FormulaBackend::Reference);
    auto fast = MakeFastBlockEvaluator(program, isa);
    for (std::size_t start = 0; start < total; start += BlockSize) {
        const int n = static_cast<int>(std::min<std::size_t>(BlockSize, total - start));
        const float* columns[4] = {};
        for (std::size_t k = 0; k < inputs.size(); ++k)
            columns[k] = inputs[k].data() + start;
        std::uint32_t points[BlockSize];
        for (int i = 0; i < n; ++i)
            points[i] = static_cast<std::uint32_t>(start) + static_cast<std::uint32_t>(i);
        const BlockResult ref = reference->Evaluate(columns, points, n);
        const BlockResult fst = fast->Evaluate(columns, points, n);
        for (int i = 0; i < n; ++i) {
            ++result.points;
            if ((ref.failed[i] != 0) != (fst.failed[i] != 0)) {
                ++result.failureMismatches;
                continue;
            }
            if (ref.failed[i])
                continue;
            if (std::memcmp(&ref.values[i], &fst.values[i], 4) != 0) {
                ++result.differing;
                result.worstUlp = std::max(result.worstUlp, UlpDistance(ref.values[i], fst.values[i]));
            }
        }
    }
    return result;
}

std::vector<float> SampleInputs(std::mt19937& rng, std::size_t count)
{
    std::vector<float> values(count);
    std::uniform_int_distribution<int> kind(0, 9);
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    std::uniform_int_distribution<int> small(-5, 5);
    std::uniform_real_distribution<float> exponent(-30.0f, 30.0f);
    for (float& v : values) {
        switch (kind(rng)) {
        case 0: v = static_cast<float>(small(rng)); break;
        case 1: v = unit(rng); break;
        case 2: v = unit(rng) * std::pow(10.0f, exponent(rng)); break;
        case 3: v = 0.0f; break;
        default: v = unit(rng) * 2000.0f; break;
        }
    }
    return values;
}

TEST(FastBackend, TranscendentalFunctionsWithinOneUlp)
{
    std::mt19937 rng(7);
    const std::size_t count = 400000;
    std::uniform_real_distribution<float> wide(-20.0f, 20.0f), unit(-1.05f, 1.05f), tiny(-1e-3f, 1e-3f);
    std::uniform_real_distribution<float> magnitude(0.0f, 38.0f);
    std::vector<float> inputs(count);
    for (std::size_t i = 0; i < count; ++i) {
        switch (i % 5) {
        case 0: inputs[i] = wide(rng); break;
        case 1: inputs[i] = unit(rng); break;
        case 2: inputs[i] = tiny(rng); break;
        case 3: inputs[i] = (i % 2 ? 1.0f : -1.0f) * std::pow(10.0f, magnitude(rng)); break;
        default: inputs[i] = 524288.0f + static_cast<float>(static_cast<int>(i % 64) - 32); break;
        }
    }
    for (const char* function : {"sin", "cos", "tan", "asin", "acos", "atan"}) {
        FormulaCompiler compiler;
        FormulaProgram program;
        ASSERT_EQ(compiler.CompileFormula(std::string(function) + "(x)", "xycz", program), 0);
        const std::vector<std::vector<float>> columns{inputs, inputs, inputs, inputs};
        for (FastIsa isa : IsasToTest()) {
            const Comparison c = Compare(program, columns, isa);
            SCOPED_TRACE(std::string(function) + (isa == FastIsa::Avx2 ? " AVX2" : " SSE2"));
            EXPECT_EQ(c.failureMismatches, 0);
            EXPECT_LE(c.worstUlp, 1);
            EXPECT_LT(static_cast<double>(c.differing) / static_cast<double>(c.points), 1e-4)
                << c.differing << " of " << c.points << " differ";
            if (std::getenv("KRT_VERBOSE"))
                std::printf("%s %s: %ld of %ld differ by one ulp\n", function, isa == FastIsa::Avx2 ? "AVX2" : "SSE2",
                            c.differing, c.points);
        }
    }
}

// Random formulas over the operations that must agree bit for bit.
class FormulaGenerator {
public:
    explicit FormulaGenerator(unsigned seed) : rng(seed) {}

    std::string Expression(int depth)
    {
        std::uniform_int_distribution<int> pick(0, depth <= 0 ? 1 : 11);
        switch (pick(rng)) {
        case 0: return Leaf();
        case 1: return Number();
        case 2: return Expression(depth - 1) + "+" + Expression(depth - 1);
        case 3: return Expression(depth - 1) + "-" + Expression(depth - 1);
        case 4: return Expression(depth - 1) + "*" + Expression(depth - 1);
        case 5: return "(" + Expression(depth - 1) + ")/(" + Expression(depth - 1) + ")";
        case 6: return "(" + Expression(depth - 1) + ")^" + Exponent();
        case 7: return "sqrt(" + Expression(depth - 1) + ")";
        case 8: return "abs(" + Expression(depth - 1) + ")";
        case 9: return "int(" + Expression(depth - 1) + ")";
        case 10: return "random(" + Expression(depth - 1) + ")";
        default: return "(" + Expression(depth - 1) + ")";
        }
    }

private:
    std::string Leaf()
    {
        static const char* letters[] = {"x", "y", "c", "z"};
        return letters[std::uniform_int_distribution<int>(0, 3)(rng)];
    }
    std::string Number()
    {
        static const char* numbers[] = {"0", "1", "2", "3", "0.5", "10", "1000", "0.001", "7.25"};
        return numbers[std::uniform_int_distribution<int>(0, 8)(rng)];
    }
    std::string Exponent()
    {
        static const char* exponents[] = {"1", "2", "3", "0.5", "x", "(0-1)", "0"};
        return exponents[std::uniform_int_distribution<int>(0, 6)(rng)];
    }
    std::mt19937 rng;
};

TEST(FastBackend, RandomFormulasAgreeBitForBit)
{
    FormulaGenerator generator(2024);
    std::mt19937 rng(99);
    const std::size_t pointsPerFormula = 256;
    int compiled = 0;
    long points = 0, failures = 0;
    for (int f = 0; f < 3000; ++f) {
        const std::string formula = generator.Expression(4);
        FormulaCompiler compiler;
        compiler.SetRandomSeed(static_cast<std::uint32_t>(f));
        FormulaProgram program;
        if (compiler.CompileFormula(formula, "xycz", program) != 0)
            continue;
        ++compiled;
        std::vector<std::vector<float>> inputs;
        for (int k = 0; k < 4; ++k)
            inputs.push_back(SampleInputs(rng, pointsPerFormula));
        for (FastIsa isa : IsasToTest()) {
            const Comparison c = Compare(program, inputs, isa);
            ASSERT_EQ(c.failureMismatches, 0) << formula;
            ASSERT_EQ(c.differing, 0) << formula << " (worst " << c.worstUlp << " ulp)";
            points += c.points;
        }
        // Count failing points once, to be sure the comparison covers them.
        auto reference = MakeBlockEvaluator(program, FormulaBackend::Reference);
        const float* columns[4] = {inputs[0].data(), inputs[1].data(), inputs[2].data(), inputs[3].data()};
        std::uint32_t ids[BlockSize] = {};
        const BlockResult r = reference->Evaluate(columns, ids, BlockSize);
        for (int i = 0; i < BlockSize; ++i)
            failures += r.failed[i] != 0;
    }
    EXPECT_GT(compiled, 2000);
    EXPECT_GT(failures, 1000) << "the formulas should also fail at some points";
    EXPECT_GT(points, 500000);
}

// A grid of points whose column inputs repeat in every row, walked row by row
// and once more out of order, as the Cartesian warp and its preview walk it.
TEST(FastBackend, GridReuseGivesTheSameValuesAsEvaluatingEveryPoint)
{
    FormulaGenerator generator(77);
    const int width = 150; // four rows; the third block of a row is partial
    const int blocks = (width + BlockSize - 1) / BlockSize;
    int checked = 0;
    std::vector<std::string> formulas = {"x+10*sin(y/16)", "y+sin(x/7)*cos(y/3)", "x*y+random(c)", "sqrt(x-50)+1/(y-2)",
                                         "c*z+atan(c/(z+0.5))"};
    for (int f = 0; f < 400; ++f)
        formulas.push_back(generator.Expression(4));
    for (const std::string& formula : formulas) {
        FormulaCompiler compiler;
        compiler.SetRandomSeed(3);
        FormulaProgram program;
        if (compiler.CompileFormula(formula, "xycz", program) != 0)
            continue;
        ++checked;
        auto reference = MakeBlockEvaluator(program, FormulaBackend::Reference);
        for (FastIsa isa : IsasToTest()) {
            auto fast = MakeFastBlockEvaluator(program, isa);
            const int order[] = {0, 1, 2, 3, 1, 0};
            for (int row : order) {
                for (int b = 0; b < blocks; ++b) {
                    float x[BlockSize], y[BlockSize], c[BlockSize], z[BlockSize];
                    std::uint32_t points[BlockSize];
                    for (int k = 0; k < BlockSize; ++k) {
                        x[k] = static_cast<float>(b * BlockSize + k);
                        c[k] = x[k] - 75.0f;
                        y[k] = static_cast<float>(row);
                        z[k] = y[k] - 2.0f;
                        points[k] = static_cast<std::uint32_t>(row * width + b * BlockSize + k);
                    }
                    const int n = std::min(BlockSize, width - b * BlockSize);
                    const float* inputs[4] = {x, y, c, z};
                    const BlockResult want = reference->Evaluate(inputs, points, n);
                    const GridPosition grid{b, row};
                    const BlockResult got = fast->Evaluate(inputs, points, n, &grid);
                    for (int k = 0; k < n; ++k) {
                        ASSERT_EQ(want.failed[k] != 0, got.failed[k] != 0) << formula << " at " << k << "," << row;
                        if (!want.failed[k]) {
                            ASSERT_LE(UlpDistance(want.values[k], got.values[k]), 1)
                                << formula << " at " << k << "," << row;
                        }
                    }
                }
            }
        }
    }
    EXPECT_GT(checked, 250);
}

} // namespace
} // namespace krt
