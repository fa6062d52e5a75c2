#pragma once

#include <QIcon>

namespace krt {

// The tool palette's pictures, drawn by the program (tools 1 ... 14), and the
// two small arrows that copy one colour into the other.
QIcon ToolIcon(int tool);
QIcon CopyColorIcon(bool downwards);

} // namespace krt
