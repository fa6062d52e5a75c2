// A Cartesian wave and a polar swirl on 4000 x 3000: the reference evaluator,
// the fast backend on one thread and on all threads, and the same two warps
// written by hand in C++.

#include "BenchImages.h"
#include "HandWritten.h"

#include "deform/Warp.h"
#include "deform/formula/FastBackend.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace krt::bench {
namespace {

constexpr int Width = 4000, Height = 3000;

const TFastBMP& Picture()
{
    static const TFastBMP picture = PhotoLikeImage(Width, Height);
    return picture;
}

DeformationParams Wave()
{
    DeformationParams p;
    p.formulaPair = "x+a*sin(y/(b+1))|y";
    p.constants = {10, 15, 0, 0, 0, 0};
    return p;
}

DeformationParams Swirl()
{
    DeformationParams p;
    p.formulaPair = "t+a/20*((1-r/(w/2))+abs(1-r/(w/2)))/2|r";
    p.cartesian = false;
    p.constants = {20, 0, 0, 0, 0, 0};
    return p;
}

void Report(benchmark::State& state)
{
    state.counters["Mpx/s"] =
        benchmark::Counter(static_cast<double>(Width) * Height / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// range(0): 0 wave, 1 swirl; range(1): 0 reference, 1 fast; range(2): threads (0 = all)
void Formula(benchmark::State& state)
{
    const DeformationParams params = state.range(0) == 0 ? Wave() : Swirl();
    WarpOptions options;
    options.backend = state.range(1) == 0 ? FormulaBackend::Reference : FormulaBackend::Fast;
    options.threads = static_cast<int>(state.range(2));
    TFastBMP destination(Width, Height);
    for (auto _ : state)
        ApplyDeformation(destination, Picture(), params, White, options);
    state.SetLabel(std::string(state.range(0) == 0 ? "wave " : "swirl ") +
                   (state.range(1) == 0 ? "reference" : FastBackendName()) +
                   (state.range(2) == 0 ? " all threads" : " 1 thread"));
    Report(state);
}

void HandWritten(benchmark::State& state)
{
    TFastBMP destination(Width, Height);
    for (auto _ : state) {
        if (state.range(0) == 0)
            HandWrittenWave(Picture(), destination, 10, 15);
        else
            HandWrittenSwirl(Picture(), destination, 1.0f);
    }
    state.SetLabel(state.range(0) == 0 ? "wave hand-written" : "swirl hand-written");
    Report(state);
}

// range(0): 0 wave, 1 swirl; range(1): 0 nearest, 1 bilinear, 2 bicubic;
// range(2): samples per side; fast backend on all threads, edges clamped
// (nearest with one sample and clamped edges takes the sampling path too).
void Sampled(benchmark::State& state)
{
    const DeformationParams params = state.range(0) == 0 ? Wave() : Swirl();
    WarpOptions options;
    options.quality = {static_cast<Sampling>(state.range(1)), static_cast<int>(state.range(2)), EdgeMode::Clamp};
    TFastBMP destination(Width, Height);
    for (auto _ : state)
        ApplyDeformation(destination, Picture(), params, White, options);
    static const char* const names[] = {"nearest", "bilinear", "bicubic"};
    state.SetLabel(std::string(state.range(0) == 0 ? "wave " : "swirl ") + names[state.range(1)] + " " +
                   std::to_string(state.range(2)) + "x" + std::to_string(state.range(2)));
    Report(state);
}

// The machines are shared: besides mean and median, report the fastest run.
double Fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

BENCHMARK(Formula)
    ->ArgsProduct({{0, 1}, {0}, {1}})
    ->ArgsProduct({{0, 1}, {1}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", Fastest);
BENCHMARK(Sampled)
    ->ArgsProduct({{0, 1}, {0, 1, 2}, {1}})
    ->ArgsProduct({{0, 1}, {1}, {2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", Fastest);
BENCHMARK(HandWritten)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Fastest);

} // namespace
} // namespace krt::bench
