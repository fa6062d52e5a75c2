// The filter and colour-effect passes on a 6000 x 4000 photo-like picture, on
// one thread and on all, beside a plain copy of the picture (the memory
// traffic every pass must at least pay). bench/compare-opencv.sh runs OpenCV's
// filter2D and LUT on the same picture in the same run.

#include "BenchImages.h"

#include "effects/ColorParams.h"
#include "effects/Convolution.h"
#include "effects/Emboss.h"
#include "effects/Gamma.h"
#include "effects/Plasma.h"
#include "imageio/ImageFiles.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace krt::bench {
namespace {

constexpr int Width = 6000, Height = 4000;

const TFastBMP& Picture()
{
    static const TFastBMP picture = [] {
        TFastBMP p = PhotoLikeImage(Width, Height);
        // The peers read the same picture.
        WriteImageFile(ScratchFolder() + "/effects.bmp", p, 80, false);
        return p;
    }();
    return picture;
}

double Fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

void Report(benchmark::State& state)
{
    state.counters["GB/s"] =
        benchmark::Counter(3.0 * Width * Height / 1e9, benchmark::Counter::kIsIterationInvariantRate);
}

std::string Threads(benchmark::State& state, int arg = 0) { return state.range(arg) == 1 ? "1 thread" : "all threads"; }

void PlainCopy(benchmark::State& state)
{
    TFastBMP copy(Width, Height);
    Picture();
    for (auto _ : state)
        std::memcpy(copy.PixelData, Picture().PixelData, static_cast<std::size_t>(Picture().DataSize));
    Report(state);
}

void Convolve(benchmark::State& state)
{
    const FilterKernel sharpen = ParseFilterNumbers("-1,-1,-1,-1,12,-1,-1,-1,-1,4");
    ConvolveOptions options;
    options.threads = static_cast<int>(state.range(0));
    TFastBMP out(Width, Height);
    Picture();
    for (auto _ : state)
        Convolve3x3(out, Picture(), sharpen, options);
    state.SetLabel(std::string(ConvolutionBackendName()) + ", " + Threads(state));
    Report(state);
}

// The lookup-table effects: gamma (three tables), lightness and contrast (one
// table for all channels) and the saturation pass with its tables.
void ColorEffect(benchmark::State& state)
{
    GammaCurves gamma;
    gamma.curves[0] = *CurveFromGraph(32, 16, true);
    gamma.curves[2] = *CurveFromGraph(20, 40, true);
    gamma.Recompute();
    TFastBMP out(Width, Height);
    out.CopyFrom(Picture());
    static const char* const names[] = {"gamma", "lightness", "contrast", "saturation", "all three colour parameters"};
    const int threads = static_cast<int>(state.range(1));
    for (auto _ : state) {
        switch (state.range(0)) {
        case 0: ApplyGamma(out, Picture(), gamma, threads); break;
        case 1: Lightness(out, 60, threads); break;
        case 2: Contrast(out, 60, threads); break;
        case 3: Saturation(out, 180, threads); break;
        default: ApplyColorParams(out, 180, 60, 60, threads); break;
        }
    }
    state.SetLabel(std::string(names[state.range(0)]) + ", " + Threads(state, 1));
    Report(state);
}

void EmbossPass(benchmark::State& state)
{
    TFastBMP out;
    out.CopyFrom(Picture());
    for (auto _ : state)
        Emboss(out);
    Report(state);
}

void Clouds(benchmark::State& state)
{
    TFastBMP out(Width, Height);
    Picture();
    for (auto _ : state) {
        GeneratePlasma(out, 10, 77, White, Black);
        MixClouds(out, Picture(), 40);
    }
    Report(state);
}

BENCHMARK(PlainCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Fastest);
BENCHMARK(Convolve)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Fastest);
BENCHMARK(ColorEffect)
    ->ArgsProduct({{0, 1, 2, 3, 4}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("min", Fastest);
BENCHMARK(EmbossPass)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Fastest);
BENCHMARK(Clouds)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("min", Fastest);

} // namespace
} // namespace krt::bench
