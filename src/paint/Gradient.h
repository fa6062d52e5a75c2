#pragma once

#include "document/Editor.h"

namespace krt {

// A linear gradient from the foreground colour at the pressed point (x0, y0)
// to the background colour at the released point (x1, y1), perpendicular to
// the drag, constant before the start and beyond the end, blended with the
// transparency and limited to the selection.
void LinearGradient(Editor& editor, int x0, int y0, int x1, int y1);

// A one-pixel rectangle outline between two corners in any order; only
// pixels inside the buffer are set.
void FrameRect(TFastBMP& buffer, int x0, int y0, int x1, int y1, PackedColor color);

} // namespace krt
