// The fast kernels for any x86-64 processor (SSE2).
#include "deform/formula/FastKernelsImpl.h"
#include "deform/formula/FastSamplingImpl.h"

namespace krt::fast {

const Kernels& KernelsSse2()
{
    static const Kernels kernels{
        "SSE2",         Run,           PolarInputs, PolarPlace,    PolarPoints, BilinearSamples, BicubicSamples,
        NearestSamples, StoreAverages, PlacePixels, PlaceCartesian};
    return kernels;
}

} // namespace krt::fast
