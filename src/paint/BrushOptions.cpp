#include "paint/BrushOptions.h"

#include "core/Integer.h"

#include <algorithm>

namespace krt {

int ParseBrushSize(const std::string& text)
{
    const int n = ParseInteger(text);
    return n < 0 ? 0 : n > 48 ? 49 : n;
}

int ParseTransparency(std::string& text)
{
    if (text.empty() || text.back() != '%')
        text += '%';
    const int n = ParseInteger(text.substr(0, text.size() - 1));
    return std::clamp(n, 0, 100);
}

} // namespace krt
