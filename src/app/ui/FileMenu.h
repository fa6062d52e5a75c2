#pragma once

#include "app/FileCommands.h"

#include <QMenu>

#include <functional>

namespace krt {

// Binds the File menu ("N1"): New, Open, Save (only for a name it can write
// to, with unsaved changes), Save as, Print and Exit (`exit` closes the main
// window, which asks to save unsaved changes).
void BindFileMenu(QMenu* menu, FileCommands& files, std::function<void()> print, std::function<void()> exit);

} // namespace krt
