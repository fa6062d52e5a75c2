#include "document/OutlinePhase.h"

namespace krt {

void OutlinePhase::Advance()
{
    OutlineGap = (OutlineGap + 1) % 2;
    if (OutlineGap == 1)
        OutlineStart = (OutlineStart + 1) % 2;
}

void PlotOutline(TFastBMP& display, const std::uint16_t* rows, const std::uint16_t* columns, int count,
                 const OutlinePhase& phase)
{
    for (int i = phase.OutlineStart; i < count; i += phase.OutlineGap + 1) {
        const int y = rows[i];
        const int x = columns[i];
        if (x < display.Width && y < display.Height)
            display.SetPixel(x, y, RubberBandColor);
    }
}

} // namespace krt
