#include "UiSupport.h"
#include "UiTest.h"
#include "app/PrintLayout.h"
#include "paint/FloatingBlock.h"
#include "paint/SelectionShapes.h"
#include "paint/ui/InstrumForm.h"
#include "support/TestSupport.h"

#include <QMessageBox>
#include <QPageLayout>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <fstream>

using namespace krt;
using krt::test::WhenModal;

namespace {

// A PDF of a bare A4 page at 72 device pixels per inch: device pixels and the
// points pdftoppm renders at 72 dpi are the same grid.
std::function<bool(QPrinter&)> PrintToPdf(const QString& file)
{
    return [file](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setResolution(72);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        printer.setFullPage(true);
        return true;
    };
}

// The first page of a PDF as pixels, through pdftoppm.
QImage RenderedPage(const QString& pdf, const QString& folder)
{
    QProcess render;
    render.start("pdftoppm", {"-r", "72", "-f", "1", "-l", "1", "-png", pdf, folder + "/page"});
    if (!render.waitForFinished(60000) || render.exitCode() != 0)
        return {};
    return QImage(folder + "/page-1.png");
}

// The smallest rectangle that holds every pixel matching `wanted`.
QRect Bounds(const QImage& page, const std::function<bool(QColor)>& wanted)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (wanted(page.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

bool Red(QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }

} // namespace

class PrintTest : public QObject {
    Q_OBJECT
private slots:
    void thePictureLandsWhereTheFitPutsItAndAFloatingBlockIsDropped()
    {
        if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed; scripts/setup installs it.");
        test::TempFolder folder;
        test::Setup s;
        s.editor.Image.Allocate(100, 50);
        s.editor.Image.Fill(PackRGB(255, 0, 0));
        s.editor.BuildDocumentBuffers();
        // A block lifted from the middle and moved: printing drops it first.
        SetRectSelection(s.editor, 40, 20, 59, 29);
        s.window.SelectTool(Tool::Move);
        s.editor.Selection.FloatingPixels.Fill(PackRGB(0, 0, 255));
        MoveSelectionBy(s.editor, 0, 0, 0, 0);
        const QString pdf = QString::fromStdString(folder.Path("page.pdf").string());
        s.window.Printing().choosePrinter = PrintToPdf(pdf);
        s.window.Menu().Action("N47")->trigger();
        QCOMPARE(s.editor.Settings.CurrentTool, Tool::Pencil);
        QVERIFY(s.window.InstrumForm()->ToolButton(Tool::Pencil)->isChecked());
        QCOMPARE(s.editor.Image.Pixel(45, 25), PackRGB(0, 0, 255)); // the block is in the picture

        const QImage page = RenderedPage(pdf, QString::fromStdString(folder.Path().string()));
        QVERIFY2(!page.isNull(), "pdftoppm renders the printout");
        QCOMPARE(page.size(), QSize(595, 842));
        // A4 at 72 dpi is 595 x 842: the width is fitted (593), the height centred.
        const PrintPlacement want = FitToPage(595, 842, 100, 50);
        QCOMPARE(want.w, 593);
        const QRect picture = Bounds(page, [](QColor c) { return Red(c) || (c.blue() > 200 && c.red() < 60); });
        QVERIFY(std::abs(picture.left() - want.x) <= 1);
        QVERIFY(std::abs(picture.top() - want.y) <= 1);
        QVERIFY(std::abs(picture.width() - want.w) <= 1);
        QVERIFY(std::abs(picture.height() - want.h) <= 1);
        // The dropped block, picture pixels 40..59 x 20..29 (its rim softened),
        // is centred on picture point (50, 25), scaled 593 / 100 times.
        const QRect block = Bounds(page, [](QColor c) { return c.blue() > 200 && c.red() < 60; });
        QVERIFY(block.width() > 15 * 5.93 && block.height() > 5 * 5.93);
        QVERIFY(std::abs(block.center().x() - (want.x + 50 * 5.93)) <= 2);
        QVERIFY(std::abs(block.center().y() - (want.y + 25 * 5.93)) <= 2);
    }

    void aCancelledDialogPrintsNothingAndAPrinterThatFailsIsReported()
    {
        test::TempFolder folder;
        test::Setup s;
        SetRectSelection(s.editor, 10, 10, 20, 20);
        s.window.SelectTool(Tool::Move);
        bool asked = false;
        s.window.Printing().choosePrinter = [&asked](QPrinter&) { return !(asked = true); };
        s.window.Menu().Action("N47")->trigger();
        QVERIFY(asked);
        QCOMPARE(s.editor.Settings.CurrentTool, Tool::Move);
        QVERIFY(s.editor.Selection.HasSelection());

        const QString unwritable = QString::fromStdString(folder.Path("no such folder/page.pdf").string());
        s.window.Printing().choosePrinter = PrintToPdf(unwritable);
        QString message;
        WhenModal([&message](QWidget* box) {
            message = static_cast<QMessageBox*>(box)->text();
            static_cast<QMessageBox*>(box)->accept();
        });
        s.window.Menu().Action("N47")->trigger();
        QVERIFY2(message.contains("could not be written") && message.contains(unwritable), qPrintable(message));
        QVERIFY(!QFile::exists(unwritable));
    }
};

static const bool registered = RegisterUiTest<PrintTest>();

#include "PrintTest.moc"
