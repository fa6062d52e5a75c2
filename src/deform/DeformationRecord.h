#pragma once

#include "deform/Warp.h"

#include <array>
#include <string>

namespace krt {

// One slider constant of a deformation.
struct DeformationConstant {
    std::string label; // shown beside the slider; may be empty
    bool used = false; // "1": label and slider enabled
    int defaultValue = 0;
};

// A deformation as one line of text:
//   name|  then six times  label used^default^  then  cartesian source first|second
// where the flags are single characters, "1" meaning yes.
struct DeformationRecord {
    std::string name;
    std::array<DeformationConstant, 6> constants;
    bool cartesian = true;
    bool source = true;
    std::string firstFormula;
    std::string secondFormula;

    std::string FormulaPair() const { return firstFormula + "|" + secondFormula; }
    // The warp parameters with every constant at its default.
    DeformationParams Params() const;
};

// Splits a record. A default that is not a decimal integer (or is missing)
// throws KrtError; defaults outside the sliders' 0..100 are brought inside.
DeformationRecord ParseRecord(const std::string& text);
// The record as the editor writes it: flags "1" or "0".
std::string BuildRecord(const DeformationRecord& record);
// The text before the first "|": the menu caption.
std::string RecordName(const std::string& text);

} // namespace krt
