// Rebuilding a 1920 x 1080 view over a 6000 x 4000 image, against a plain copy
// of the same number of bytes.

#include "BenchImages.h"

#include "document/Editor.h"
#include "paint/View.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace krt::bench {
namespace {

Editor& SharedEditor()
{
    static Editor editor = [] {
        Editor e(Language::English, DataPaths{});
        e.Image = PhotoLikeImage(6000, 4000);
        e.BuildDocumentBuffers();
        e.View.ViewWidth = 1920;
        e.View.ViewHeight = 1080;
        return e;
    }();
    return editor;
}

// range(0): zoom in percent.
void RedrawViewAtZoom(benchmark::State& state)
{
    Editor& editor = SharedEditor();
    editor.View.Zoom = static_cast<float>(state.range(0) * 0.01);
    editor.View.ScrollX = 100;
    editor.View.ScrollY = 100;
    for (auto _ : state) {
        RedrawView(editor);
        benchmark::DoNotOptimize(editor.View.ViewBuffer.PixelData);
    }
}

void PlainCopy(benchmark::State& state)
{
    const std::size_t bytes = 1920u * 1080u * 3u;
    std::vector<unsigned char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
    }
}

// The memory floor of a 37 % view: one block copy of every source row span the
// view reads (1080 rows of 5190 pixels, 2.7 rows apart).
void CopyOfTheRowsA37PercentViewReads(benchmark::State& state)
{
    Editor& editor = SharedEditor();
    std::vector<unsigned char> to(5190u * 3u);
    for (auto _ : state) {
        for (int i = 0; i < 1080; ++i)
            std::memcpy(to.data(), editor.Image.RowTable[static_cast<std::size_t>(100 + i * 27 / 10)] + 300, to.size());
        benchmark::DoNotOptimize(to.data());
    }
}

BENCHMARK(RedrawViewAtZoom)->Arg(100)->Arg(37)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyOfTheRowsA37PercentViewReads)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace krt::bench
