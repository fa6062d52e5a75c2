#pragma once

#include <QCursor>

namespace krt {

// The editor's own cursors: 1, a fine cross for the painting tools; 2, four
// arrows for moving the selection; 3 is the text beam.
QCursor EditorCursor(int number);

} // namespace krt
