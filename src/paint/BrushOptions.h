#pragma once

#include <string>

namespace krt {

// The option groups of the options window, as flags: which ones a tool uses.
enum ToolOptions : unsigned {
    OptionType = 1,
    OptionTransparency = 2,
    OptionSize = 4,
    OptionShape = 8,
    OptionsAll = 15,
    OptionsNone = 0,
};

// The brush size list: an integer, 0 below 0 and 49 above 48. Throws KrtError.
int ParseBrushSize(const std::string& text);
// The transparency list: "%" is appended when missing (to `text`); the
// number is kept within 0 ... 100 (beyond 100 the blending formulas leave the
// byte range). Throws KrtError for text that is not a number.
int ParseTransparency(std::string& text);

} // namespace krt
