#pragma once

#include "paint/ToolTraits.h"

#include <QCursor>

namespace krt {

// The editor's own cursors: a fine cross for the painting tools, four arrows
// for moving the selection, and the text beam.
QCursor EditorCursor(ToolCursor cursor);

} // namespace krt
