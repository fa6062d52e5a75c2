#pragma once

#include "deform/formula/Evaluate.h"
#include "deform/formula/FastKernels.h"

namespace krt {

const fast::Kernels& FastKernels(FastIsa isa = FastIsa::Auto);
bool HostHasAvx2();
std::unique_ptr<BlockEvaluator> MakeFastBlockEvaluator(const FormulaProgram& program, FastIsa isa = FastIsa::Auto);
// sin and cos from the C library, for angles too large for the vector kernels.
void LibrarySinCos(double x, double* s, double* c);

} // namespace krt
