#pragma once

#include "document/Editor.h"

namespace krt {

// A rectangle selection including both corners; corners sharing a column or
// a row leave no selection.
void SetRectSelection(Editor& editor, int ax, int ay, int bx, int by);
// Every pixel of the image selected.
void SelectAll(Editor& editor);
// The four-connected region of the seed's colour (as SameColor sees it).
void SelectSameColor(Editor& editor, int x, int y);

// Free-hand selection: the press marks every cell, each drag step marks the
// outline along a line (never on the first row or column), and the close
// turns what the outline encloses into the selection.
void BeginFreeHand(Editor& editor);
void FreeHandPath(Editor& editor, int x0, int y0, int x1, int y1);
void FreeHandClose(Editor& editor);

// Selected becomes unselected and the reverse; without a selection all is
// selected first (so nothing is left). Returns false when nothing is left
// selected: then there is no selection.
bool InvertSelection(Editor& editor);

} // namespace krt
