// A recovery copy of a 6000 x 4000 (24 MP) picture: what the interface pauses
// for (a snapshot of the pixels) and what the worker then spends (a fast PNG
// written and made durable).

#include "BenchImages.h"

#include "recovery/RecoveryStore.h"

#include <benchmark/benchmark.h>

namespace krt::bench {
namespace {

constexpr int Width = 6000, Height = 4000;

const TFastBMP& Picture() { return Photo24(); }

void Snapshot(benchmark::State& state)
{
    const TFastBMP& picture = Picture();
    for (auto _ : state) {
        TFastBMP copy;
        copy.CopyFrom(picture);
        benchmark::DoNotOptimize(copy.PixelData);
    }
}
BENCHMARK(Snapshot)->Unit(benchmark::kMillisecond)->UseRealTime();

void WriteCopy(benchmark::State& state)
{
    const TFastBMP& picture = Picture();
    RecoveryStore store(ScratchFolder() + "/recovery");
    RecoveryCopy about;
    about.fileName = "/pictures/photo.jpg";
    for (auto _ : state)
        store.Write(picture, about);
    store.Remove();
}
BENCHMARK(WriteCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
} // namespace krt::bench
