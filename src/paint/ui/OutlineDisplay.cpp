#include "paint/ui/OutlineDisplay.h"

namespace krt {

void ShowOutlined(BufferView& view, const TFastBMP& buffer, const std::uint16_t* rows, const std::uint16_t* columns,
                  int count, const OutlinePhase& phase)
{
    TFastBMP display;
    display.CopyFrom(buffer);
    PlotOutline(display, rows, columns, count, phase);
    view.Show(display);
}

} // namespace krt
