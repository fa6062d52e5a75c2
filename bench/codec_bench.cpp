// Reading and writing a 6000 x 4000 picture as BMP and JPEG.

#include "BenchImages.h"

#include "imageio/ImageFiles.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace krt::bench {
namespace {

constexpr int Width = 6000, Height = 4000;

const TFastBMP& Picture() { return Photo24(); }

std::string PicturePath(const char* extension)
{
    const std::string path = ScratchFolder() + "/picture." + extension;
    static bool written[2] = {false, false};
    bool& done = written[std::string(extension) == "jpg"];
    if (!done) {
        WriteImageFile(path, Picture(), 90, false);
        done = true;
    }
    return path;
}

void Report(benchmark::State& state)
{
    const double bytes = 3.0 * Width * Height;
    state.counters["MB/s"] = benchmark::Counter(bytes / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void ReadBmp(benchmark::State& state)
{
    const std::string path = PicturePath("bmp");
    for (auto _ : state) {
        TFastBMP image;
        ReadImageFile(path, image);
        benchmark::DoNotOptimize(image.PixelData);
    }
    Report(state);
}

void WriteBmp(benchmark::State& state)
{
    const std::string path = ScratchFolder() + "/written.bmp";
    for (auto _ : state)
        WriteImageFile(path, Picture(), 90, state.range(0) != 0);
    Report(state);
}

void ReadJpeg(benchmark::State& state)
{
    const std::string path = PicturePath("jpg");
    for (auto _ : state) {
        TFastBMP image;
        ReadImageFile(path, image);
        benchmark::DoNotOptimize(image.PixelData);
    }
    Report(state);
}

void DecodeJpegFromMemory(benchmark::State& state)
{
    std::ifstream in(PicturePath("jpg"), std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (auto _ : state) {
        TFastBMP image;
        DecodeJpeg(bytes.data(), bytes.size(), image, {});
        benchmark::DoNotOptimize(image.PixelData);
    }
    Report(state);
}

void WriteJpeg(benchmark::State& state)
{
    const std::string path = ScratchFolder() + "/written.jpg";
    for (auto _ : state)
        WriteImageFile(path, Picture(), 90, false);
    Report(state);
}

BENCHMARK(ReadBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteBmp)->Arg(0)->Arg(1)->ArgName("durable")->Unit(benchmark::kMillisecond);
BENCHMARK(ReadJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeJpegFromMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteJpeg)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace krt::bench
