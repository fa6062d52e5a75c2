// How good a warp looks: a 1024 x 1024 zone plate shrunk 3.7 times and turned
// 17 degrees, against the same transform of the continuous zone plate
// averaged over each destination pixel (16 x 16 points): PSNR in dB over the
// pixels whose footprint lies within radius 480 of the plate's centre (where
// its pixels still hold it), beside the time. With
// KRT_PEER_PICTURE naming a peer's result of the same transform (see
// compare-warp-quality.sh), its PSNR is reported too.

#include "deform/Warp.h"
#include "imageio/ImageFiles.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <numbers>
#include <vector>

namespace krt::bench {
namespace {

constexpr int Side = 1024;
constexpr double Shrink = 3.7, Degrees = 17;
const double Angle = Degrees * std::numbers::pi / 180;

double ZonePlate(double x, double y)
{
    const double dx = x - Side / 2, dy = y - Side / 2;
    return 127.5 + 127.5 * std::cos(std::numbers::pi * (dx * dx + dy * dy) / Side);
}

// Where destination point (x, y) reads the source.
void SourcePoint(double x, double y, double& sx, double& sy)
{
    const double c = x - Side / 2, z = y - Side / 2;
    sx = Side / 2 + Shrink * (c * std::cos(Angle) - z * std::sin(Angle));
    sy = Side / 2 + Shrink * (c * std::sin(Angle) + z * std::cos(Angle));
}

const TFastBMP& Plate()
{
    static const TFastBMP plate = [] {
        TFastBMP p(Side, Side);
        for (int y = 0; y < Side; ++y)
            for (int x = 0; x < Side; ++x) {
                const int v = static_cast<int>(std::lround(ZonePlate(x, y)));
                p.SetPixel(x, y, PackRGB(v, v, v));
            }
        return p;
    }();
    return plate;
}

// The ideal picture, and which pixels count (footprint inside the source).
struct Reference {
    std::vector<double> value;
    std::vector<bool> counts;
};

const Reference& Ideal()
{
    static const Reference ideal = [] {
        Reference r{std::vector<double>(Side * Side), std::vector<bool>(Side * Side)};
        constexpr int n = 16;
        for (int y = 0; y < Side; ++y)
            for (int x = 0; x < Side; ++x) {
                double sum = 0, sx = 0, sy = 0;
                bool inside = true;
                for (int j = 0; j < n; ++j)
                    for (int i = 0; i < n; ++i) {
                        SourcePoint(x + (i + 0.5) / n - 0.5, y + (j + 0.5) / n - 0.5, sx, sy);
                        // Beyond radius 480 the plate's pixels alias themselves:
                        // no resampling of them can match the continuous plate.
                        inside &= std::hypot(sx - Side / 2, sy - Side / 2) <= 480;
                        sum += ZonePlate(sx, sy);
                    }
                r.value[static_cast<std::size_t>(y) * Side + x] = sum / (n * n);
                r.counts[static_cast<std::size_t>(y) * Side + x] = inside;
            }
        return r;
    }();
    return ideal;
}

double Psnr(const TFastBMP& picture)
{
    const Reference& ideal = Ideal();
    double squares = 0;
    long count = 0;
    for (int y = 0; y < Side; ++y)
        for (int x = 0; x < Side; ++x)
            if (ideal.counts[static_cast<std::size_t>(y) * Side + x]) {
                const double d = GreenOf(picture.Pixel(x, y)) - ideal.value[static_cast<std::size_t>(y) * Side + x];
                squares += d * d;
                ++count;
            }
    return 10 * std::log10(255.0 * 255.0 / (squares / static_cast<double>(count)));
}

DeformationParams Transform()
{
    DeformationParams p;
    const std::string a = std::to_string(Angle), k = std::to_string(Shrink);
    // cx and cy: the point's place from the picture's centre.
    p.formulaPair =
        "512+" + k + "*(cx*cos(" + a + ")-cy*sin(" + a + "))|512+" + k + "*(cx*sin(" + a + ")+cy*cos(" + a + "))";
    return p;
}

// range(0): sampling (0 nearest, 1 bilinear, 2 bicubic); range(1): samples per side, 0 adaptive.
void ZonePlateShrink(benchmark::State& state)
{
    WarpOptions options;
    options.quality = {static_cast<Sampling>(state.range(0)), static_cast<int>(state.range(1)), EdgeMode::Background};
    TFastBMP out(Side, Side);
    Ideal();
    for (auto _ : state)
        ApplyDeformation(out, Plate(), Transform(), White, options);
    static const char* const names[] = {"nearest", "bilinear", "bicubic"};
    state.SetLabel(std::string(names[state.range(0)]) + " " +
                   (state.range(1) == 0 ? std::string("adaptive") : std::to_string(state.range(1)) + "x"));
    state.counters["PSNR_dB"] = Psnr(out);
}

// A peer's picture of the same transform (KRT_PEER_PICTURE), read once.
void Peer(benchmark::State& state)
{
    const char* path = std::getenv("KRT_PEER_PICTURE");
    if (!path) {
        state.SkipWithError("KRT_PEER_PICTURE names no picture");
        return;
    }
    TFastBMP peer;
    ReadImageFile(path, peer);
    for (auto _ : state)
        benchmark::DoNotOptimize(peer.PixelData);
    state.SetLabel(path);
    state.counters["PSNR_dB"] = Psnr(peer);
}

void WritePlate(benchmark::State& state)
{
    const char* path = std::getenv("KRT_PLATE_PICTURE");
    for (auto _ : state)
        if (path)
            WriteImageFile(path, Plate(), 100, false);
}

BENCHMARK(WritePlate)->Iterations(1);
BENCHMARK(ZonePlateShrink)
    ->ArgsProduct({{0, 1, 2}, {1, 2, 4, 0}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
BENCHMARK(Peer)->Iterations(1);

} // namespace
} // namespace krt::bench
