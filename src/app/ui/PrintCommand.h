#pragma once

#include "document/Editor.h"
#include "paint/ToolPalette.h"

#include <QPrinter>
#include <QWidget>

#include <functional>

namespace krt {

// The File menu's "Печать...": the picture on one page of the printer the
// user chooses (a CUPS printer, or "Print to file" for a PDF), fitted to the
// printable page. A floating block is dropped first, as pressing the pencil
// would. A printer that cannot print is reported; nothing else changes.
class PrintCommand {
public:
    PrintCommand(Editor& editor, ToolPalette& palette, QWidget* window);

    void Print();
    // Asks for the printer; false when the user cancelled. The print dialog
    // in the editor; tests choose a PDF file instead.
    std::function<bool(QPrinter& printer)> choosePrinter;

private:
    Editor& editor;
    ToolPalette& palette;
};

} // namespace krt
