#pragma once

#include "deform/formula/Evaluate.h"
#include "deform/formula/FastKernels.h"

namespace krt {

// Which build of the fast kernels to use: the best the processor has, or one
// in particular (tests compare them; KRT_NO_AVX2 in the environment makes
// the automatic choice SSE2).
enum class FastIsa { Auto, Sse2, Avx2 };

const fast::Kernels& FastKernels(FastIsa isa = FastIsa::Auto);
bool HostHasAvx2();
std::unique_ptr<BlockEvaluator> MakeFastBlockEvaluator(const FormulaProgram& program, FastIsa isa = FastIsa::Auto);
// sin and cos from the C library, for angles too large for the vector kernels.
void LibrarySinCos(double x, double* s, double* c);

} // namespace krt
