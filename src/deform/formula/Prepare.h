#pragma once

#include <array>
#include <string>

namespace krt {

// A formula pair after the image size and the six constants were put in.
struct PreparedFormulas {
    std::string text; // first formula, "|", second formula
    bool tUsed = false;
    bool rUsed = false;
    bool cxUsed = false;
    bool cyUsed = false;

    // The texts before and after the first "|" (the second is empty without one).
    std::string First() const;
    std::string Second() const;
};

// Substitutes the standalone letters w, h, a ... f (in that order) by W, H and
// the constants; notes which of t, r, cx and cy the formulas use; rewrites cx
// as c and cy as z; and turns "." into the locale's decimal separator.
PreparedFormulas PrepareFormulas(const std::string& text, int width, int height, const std::array<int, 6>& constants,
                                 char decimalSeparator);

// The decimal separator of the user's locale ("." or ",").
char LocaleDecimalSeparator();

} // namespace krt
