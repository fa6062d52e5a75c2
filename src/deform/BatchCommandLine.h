#pragma once

#include "core/Color.h"
#include "deform/Sampling.h"

#include <array>
#include <string>

namespace krt {

// The krtphoto-batch line that does what "OK" of the deformation dialog does
// to a picture: the record as its library holds it, the six slider
// positions, the background colour and the quality, with IN and OUT standing
// for the files. Quoted for a POSIX shell.
std::string BatchCommandLine(const std::string& record, const std::array<int, 6>& constants, PackedColor background,
                             const WarpQuality& quality);

} // namespace krt
