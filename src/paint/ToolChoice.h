#pragma once

#include "document/Editor.h"

namespace krt {

// What a tool button does to the document: any tool but the move tool drops
// a floating block where it is; the move tool lifts the selection (unless it
// is already current). Returns true when a placed text was dropped: the
// selection is then gone and the windows must lay the preview out again.
bool ChooseTool(Editor& editor, Tool tool);

} // namespace krt
