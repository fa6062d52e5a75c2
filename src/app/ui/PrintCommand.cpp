#include "app/ui/PrintCommand.h"

#include "app/PrintLayout.h"
#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "core/ui/Surface.h"

#include <QPainter>
#include <QPrintDialog>

namespace krt {
namespace {

constexpr OwnMessage CannotStart{"The printer \"{1}\" cannot print.", "Принтер \"{1}\" не может печатать."};
constexpr OwnMessage CannotWrite{"The printout could not be written to {1}.", "Не удалось записать печать в {1}."};
constexpr OwnMessage PrintingFailed{"Printing on \"{1}\" failed.", "Печать на \"{1}\" не удалась."};

std::string Destination(const QPrinter& printer)
{
    return (printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName()).toStdString();
}

} // namespace

PrintCommand::PrintCommand(Editor& ed, ToolPalette& tools, QWidget* window) : editor(ed), palette(tools)
{
    choosePrinter = [window](QPrinter& printer) {
        QPrintDialog dialog(&printer, window);
        return dialog.exec() == QDialog::Accepted;
    };
}

void PrintCommand::Print()
{
    QPrinter printer(QPrinter::HighResolution);
    if (!choosePrinter(printer))
        return;
    if (editor.Settings.CurrentTool == Tool::Move)
        palette.SelectTool(Tool::Pencil);
    const PrintPlacement place = FitToPage(printer.width(), printer.height(), editor.Image.Width, editor.Image.Height);
    QPainter painter;
    if (!painter.begin(&printer))
        throw KrtError(Say(printer.outputFileName().isEmpty() ? CannotStart : CannotWrite, {Destination(printer)}));
    DrawScaled(painter, editor.Image, place.x, place.y, place.w, place.h);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw KrtError(Say(PrintingFailed, {Destination(printer)}));
}

} // namespace krt
