#pragma once

#include "app/EditCommands.h"

#include <QMenu>

namespace krt {

// Binds the Edit menu ("N6"): Undo while there is a snapshot, Paste and Paste
// as new image while the clipboard holds a picture, Cut, Copy, Clear and Crop
// while there is a selection; Select all, Invert selection and Resize always.
void BindEditMenu(QMenu* menu, EditCommands& edits);

} // namespace krt
