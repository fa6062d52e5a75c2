#include "app/PrintLayout.h"

namespace krt {

PrintPlacement FitToPage(int pw, int ph, int w, int h)
{
    // Division first, then multiplication, truncated toward zero.
    const int fittedWidth = static_cast<int>(static_cast<double>(ph - 2) / h * w);
    const int fittedHeight = static_cast<int>(static_cast<double>(pw - 2) / w * h);
    if (pw - 2 < fittedWidth)
        return {0, (ph - fittedHeight) / 2, pw - 2, fittedHeight};
    return {(pw - fittedWidth) / 2, 0, fittedWidth, ph - 2};
}

} // namespace krt
