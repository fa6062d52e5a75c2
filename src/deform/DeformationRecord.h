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

// What the fields of the deformation editor hold, as typed.
struct DeformationEditorFields {
    struct Constant {
        std::string label;
        bool used = false;
        std::string defaultText = "  "; // two digits at most; two blanks when nothing was typed
    };
    std::string name;
    std::array<Constant, 6> constants;
    bool cartesian = true;
    bool source = true;
    std::string x = "x", y = "y"; // the Cartesian formulas
    std::string t = "t", r = "r"; // the polar ones
};

// The record the editor's fields make: a default left blank is "0", others
// lose their blanks; the formulas of the chosen coordinate system lose their
// blanks and are put in lower case. Nothing is checked here: a bad formula
// shows when the record is tried out or applied.
std::string BuildDeformationRecord(const DeformationEditorFields& fields);

} // namespace krt
