#include "deform/Warp.h"

#include "deform/TargetFill.h"
#include "deform/WarpRows.h"

#include "core/KrtError.h"
#include "core/ThreadPool.h"
#include "deform/formula/Compiler.h"
#include "deform/formula/FastBackend.h"
#include "deform/formula/Prepare.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

namespace krt {

char CompileDeformation(const DeformationParams& params, int width, int height, const WarpOptions& options,
                        CompiledDeformation& compiled)
{
    const PreparedFormulas prepared =
        PrepareFormulas(params.formulaPair, width, height, params.constants, options.decimalSeparator);
    FormulaCompiler compiler(options.decimalSeparator);
    if (options.randomSeed)
        compiler.SetRandomSeed(*options.randomSeed);
    const char* letters = params.cartesian ? "xycz" : "tr";
    if (compiler.CompileFormula(prepared.First(), letters, compiled.first) != 0)
        return params.cartesian ? 'X' : 'T';
    if (compiler.CompileFormula(prepared.Second(), letters, compiled.second) != 0)
        return params.cartesian ? 'Y' : 'R';
    return 0;
}

std::int64_t RoundCoord(double v)
{
    const double n = std::trunc(v);
    return static_cast<std::int64_t>((n + 1 - v) > (v - n) ? n : n + 1);
}

WarpResult ApplyDeformation(TFastBMP& destination, const TFastBMP& source, const DeformationParams& params,
                            PackedColor background, const WarpOptions& options)
{
    if (&destination == &source || destination.Width != source.Width || destination.Height != source.Height)
        throw KrtError("A deformation needs a separate source of the destination's size.");
    const int W = source.Width, H = source.Height;
    CompiledDeformation programs;
    if (const char label = CompileDeformation(params, W, H, options, programs))
        return {WarpStatus::IncorrectFormula, label};
    if (W == 0 || H == 0)
        return {};

    WarpJob job(programs, source, destination, params, background, options, FastKernels(options.isa),
                WarpGeometry{W, H, false});
    if (!params.source)
        job.PrepareTargets();
    const int threads = ThreadPool::Count(options.threads);

    if (threads == 1 && !options.progress) {
        job.Work();
    } else {
        ThreadPool pool;
        for (int t = 0; t < threads; ++t)
            if (!pool.Start([&job] {
                    job.Work();
                    std::lock_guard lock(job.mutex);
                    ++job.workersDone;
                    job.finished.notify_one();
                }))
                break;
        const int started = pool.Size();
        // The calling thread reports progress until the workers are done, or
        // does the work itself when no worker could be started.
        if (options.progress && !options.progress(0.0))
            job.cancelled = true;
        if (started == 0)
            job.Work();
        std::unique_lock lock(job.mutex);
        while (
            !job.finished.wait_for(lock, std::chrono::milliseconds(50), [&] { return job.workersDone == started; })) {
            lock.unlock();
            if (options.progress && !options.progress(0.98 * job.rowsDone.load() / H))
                job.cancelled = true;
            lock.lock();
        }
    }
    if (job.cancelled) {
        destination.CopyFrom(source);
        return {WarpStatus::Cancelled, 0};
    }
    if (!params.source && job.landingX)
        FillTargets(job, threads);
    else if (!params.source)
        ParallelRows(H, threads, [&job](int from, int to) { job.ResolveWinners(from, to); });
    if (options.progress)
        options.progress(1.0);
    return {};
}

} // namespace krt
