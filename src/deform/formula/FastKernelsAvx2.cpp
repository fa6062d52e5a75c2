// The fast kernels for processors with AVX2 (compiled with -mavx2, used only
// when the processor has it).
#include "deform/formula/FastKernelsImpl.h"
#include "deform/formula/FastSamplingImpl.h"

namespace krt::fast {

const Kernels& KernelsAvx2()
{
    static const Kernels kernels{
        "AVX2",         Run,           PolarInputs, PolarPlace,    PolarPoints, BilinearSamples, BicubicSamples,
        NearestSamples, StoreAverages, PlacePixels, PlaceCartesian};
    return kernels;
}

} // namespace krt::fast
