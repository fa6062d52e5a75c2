#pragma once

#include "deform/WarpRows.h"

namespace krt {

// Target coordinates without holes. The formulas say where each source
// pixel lands; each cell of four neighbouring source pixels is cut into two
// triangles, and every destination pixel whose centre lies in a landed
// triangle reads the source at the point the triangle maps it back to (the
// mapping inverted locally from the forward grid), with the warp's sampling.
// Where triangles overlap, the last cell in row order wins, as the plain rule
// has the last pixel win; triangles stretched over more than MaxTriangleSpan
// pixels (a tear in the mapping, such as an angle wrapping round) are left
// out. Pixels no triangle covers get the background. Rows are shared among
// `threads`; the result does not depend on their number.
constexpr int MaxTriangleSpan = 256;
void FillTargets(WarpJob& job, int threads);

} // namespace krt
