#pragma once

#include "document/Tools.h"

#include <QIcon>

namespace krt {

// The tool palette's pictures, drawn by the program, and the
// two small arrows that copy one colour into the other.
QIcon ToolIcon(Tool tool);
QIcon CopyColorIcon(bool downwards);

} // namespace krt
