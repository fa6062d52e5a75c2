// Opening 24-megapixel photos: WebP, TIFF (Deflate) and HEIC, and what a
// colour profile adds to a JPEG open. compare-photos.sh runs the reference
// decoders (dwebp, tiffcp, heif-convert) on the same files in the same run.

#include "BenchImages.h"

#include "imageio/ImageFiles.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace krt::bench {
namespace {

constexpr int Width = 6000, Height = 4000;

const TFastBMP& Picture() { return Photo24(); }

std::vector<std::uint8_t> FileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The Display P3 profile of the project's test photos.
IccProfile DisplayP3()
{
    const auto bytes = FileBytes(KRT_PROJECT_TESTDATA_DIR "/photos/p3.webp");
    TFastBMP ignored;
    PictureMetadata metadata;
    DecodeWebp(bytes.data(), bytes.size(), ignored, {}, &metadata);
    return metadata.icc;
}

// The same JPEG with the profile in an APP2 segment right after its start.
void WriteWithProfile(const std::string& from, const std::string& to)
{
    const auto jpeg = FileBytes(from);
    const IccProfile profile = DisplayP3();
    // The marker, its length (set below), the tag and "part 1 of 1".
    const std::string header("\xFF\xE2\0\0ICC_PROFILE\0\x01\x01", 18);
    std::vector<std::uint8_t> app2(header.size() + profile.size());
    std::copy(header.begin(), header.end(), app2.begin());
    std::copy(profile.begin(), profile.end(), app2.begin() + static_cast<std::ptrdiff_t>(header.size()));
    const std::size_t length = app2.size() - 2;
    app2[2] = static_cast<std::uint8_t>(length >> 8);
    app2[3] = static_cast<std::uint8_t>(length);
    std::ofstream out(to, std::ios::binary);
    out.write(reinterpret_cast<const char*>(jpeg.data()), 2);
    out.write(reinterpret_cast<const char*>(app2.data()), static_cast<std::streamsize>(app2.size()));
    out.write(reinterpret_cast<const char*>(jpeg.data() + 2), static_cast<std::streamsize>(jpeg.size() - 2));
}

// The benchmark's files, written once: photo.webp (quality 80), photo.tif,
// photo.png (from which compare-photos.sh makes photo.heic), photo.jpg
// (quality 90) and photo-p3.jpg.
std::string PhotoPath(const std::string& name)
{
    static const bool written = [] {
        const std::string folder = ScratchFolder();
        if (std::filesystem::exists(folder + "/photo-p3.jpg"))
            return true;
        WriteOptions options;
        options.jpegQuality = 90;
        options.webpQuality = 80;
        options.durable = false;
        for (const char* file : {"photo.webp", "photo.tif", "photo.png", "photo.jpg"})
            WriteImageFile(folder + "/" + file, Picture(), options);
        WriteWithProfile(folder + "/photo.jpg", folder + "/photo-p3.jpg");
        return true;
    }();
    (void)written;
    return ScratchFolder() + "/" + name;
}

void Read(benchmark::State& state, const char* name)
{
    const std::string path = PhotoPath(name);
    if (!std::filesystem::exists(path)) {
        state.SkipWithError((path + " is missing: compare-photos.sh makes it").c_str());
        return;
    }
    for (auto _ : state) {
        TFastBMP image;
        ReadImageFile(path, image);
        benchmark::DoNotOptimize(image.PixelData);
    }
    state.counters["MP/s"] = benchmark::Counter(Width * Height / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// The conversion alone, on the picture in memory.
void ConvertDisplayP3(benchmark::State& state)
{
    const IccProfile profile = DisplayP3();
    TFastBMP picture;
    picture.CopyFrom(Picture());
    for (auto _ : state)
        ConvertToSrgb(picture, profile);
    state.counters["MP/s"] = benchmark::Counter(Width * Height / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(ConvertDisplayP3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(Read, Webp, "photo.webp")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, Tiff, "photo.tif")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, Heic, "photo.heic")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, Jpeg, "photo.jpg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Read, JpegWithDisplayP3, "photo-p3.jpg")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace krt::bench
