#pragma once

#include "app/FileCommands.h"

#include <QMenu>

#include <functional>
#include <optional>

namespace krt {

// What the File menu's commands need from the windows.
struct FileMenuWindows {
    std::function<void()> print;
    // A picture from the scanner, or nothing (cancelled).
    std::function<std::optional<TFastBMP>()> acquire;
    std::function<void()> selectSource;
    // Closes the main window, which asks to save unsaved changes.
    std::function<void()> exit;
};

// Binds the File menu ("N1"): New, Open, Save (only for a name it can write
// to, with unsaved changes), Save as, Print, Scan, Select source and Exit.
void BindFileMenu(QMenu* menu, FileCommands& files, FileMenuWindows windows);

} // namespace krt
