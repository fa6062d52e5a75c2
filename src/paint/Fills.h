#pragma once

#include "document/Editor.h"

namespace krt {

// Paints the four-connected region of the seed's colour (as SameColor sees
// it) in the foreground colour, within the selection.
void FillSameColor(Editor& editor, int x, int y);
// Paints the four-connected region around the seed that does not show the
// background colour in the foreground colour, within the selection.
void FillToBackground(Editor& editor, int x, int y);
// Every selected pixel of the sample point's colour becomes the background colour.
void ReplaceColorEverywhere(Editor& editor, int x, int y);
// Every selected pixel not of the sample point's colour becomes the background colour.
void ReplaceAllButColor(Editor& editor, int x, int y);

} // namespace krt
