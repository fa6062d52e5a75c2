#pragma once

#include "deform/Warp.h"

namespace krt::test {

// A deformation of two formulas ("first|second") with every constant at 0.
inline DeformationParams Params(const char* pair, bool cartesian = true, bool source = true)
{
    DeformationParams p;
    p.formulaPair = pair;
    p.cartesian = cartesian;
    p.source = source;
    return p;
}

} // namespace krt::test
