#pragma once

#include "app/FileCommands.h"

#include <QMenu>

namespace krt {

// Binds the File menu ("N1"): New, Open, Save (only for a name it can write
// to, with unsaved changes), Save as and Exit.
void BindFileMenu(QMenu* menu, FileCommands& files);

} // namespace krt
