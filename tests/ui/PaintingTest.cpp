#include "UiSupport.h"
#include "UiTest.h"
#include "core/ui/Surface.h"
#include "paint/ColorPanels.h"
#include "paint/ui/AddText.h"
#include "paint/ui/EditForm.h"
#include "paint/ui/InstrumForm.h"
#include "paint/ui/OptForm.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

using namespace krt;
using krt::test::Setup;
using krt::test::WhenModal;

namespace {

constexpr PackedColor Red = PackRGB(255, 0, 0);

// The document view at 200 %: window point (2x, 2y) shows image point (x, y).
QWidget* View(Setup& s) { return s.window.EditForm()->Image(); }

QPoint At(int x, int y) { return {2 * x, 2 * y}; }

// A drag step with keys held (QTest's moves carry no modifiers).
void MoveWith(QWidget* view, QPoint at, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, modifiers);
    QApplication::sendEvent(view, &move);
}

// Presses at the first image point, moves through the others, releases at the last.
void Drag(Setup& s, std::vector<QPoint> points)
{
    QTest::mousePress(View(s), Qt::LeftButton, {}, points.front());
    for (std::size_t i = 1; i < points.size(); ++i)
        QTest::mouseMove(View(s), points[i]);
    QTest::mouseRelease(View(s), Qt::LeftButton, {}, points.back());
}

void Choose(Setup& s, Tool tool) { s.window.InstrumForm()->ToolButton(tool)->click(); }

int CountColor(const TFastBMP& image, PackedColor color, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            n += image.Pixel(x, y) == color;
    return n;
}

} // namespace

class PaintingTest : public QObject {
    Q_OBJECT
private slots:
    void pencilStrokeWithTheMouse()
    {
        Setup s;
        s.editor.Settings.BrushSize = 1;
        Drag(s, {At(10, 10), At(20, 10), At(30, 10)});
        QCOMPARE(CountColor(s.editor.Image, Black, 0, 0, 60, 60), 21);
        QCOMPARE(s.editor.Image.Pixel(25, 10), Black);
        QCOMPARE(s.editor.UndoCount, 1);
        // The view shows it.
        QCOMPARE(QColor(static_cast<BufferView*>(View(s))->Shown().pixel(At(25, 10))), QColor(Qt::black));
    }

    void altClickPicksTheColourAndKeepsThePencil()
    {
        Setup s;
        s.editor.Image.SetPixel(40, 30, PackRGB(12, 34, 56));
        QTest::mouseClick(View(s), Qt::LeftButton, Qt::AltModifier, At(40, 30));
        QCOMPARE(s.editor.Settings.ForeColor, PackRGB(12, 34, 56));
        QCOMPARE(s.window.EditForm()->windowTitle(), QString("12 34 56"));
        QVERIFY(s.window.InstrumForm()->ToolButton(Tool::Pencil)->isChecked());
        QCOMPARE(s.editor.Settings.CurrentTool, Tool::Pencil);
        QCOMPARE(s.editor.UndoCount, 0);
    }

    void shiftDragDrawsAStraightLine()
    {
        Setup s;
        s.editor.Settings.BrushSize = 1;
        QTest::mousePress(View(s), Qt::LeftButton, Qt::ShiftModifier, At(10, 30));
        MoveWith(View(s), At(20, 33), Qt::ShiftModifier);
        MoveWith(View(s), At(30, 38), Qt::ShiftModifier);
        QTest::mouseRelease(View(s), Qt::LeftButton, Qt::ShiftModifier, At(30, 38));
        QCOMPARE(CountColor(s.editor.Image, Black, 10, 30, 30, 30), 21);
        QCOMPARE(CountColor(s.editor.Image, Black, 0, 31, 60, 60), 0);
    }

    void rectangleSelectMoveAndUndo()
    {
        Setup s;
        s.editor.Image.FillBlock(10, 10, 30, 30, Red);
        Choose(s, Tool::RectangleSelect);
        Drag(s, {At(10, 10), At(20, 20), At(30, 30)});
        QVERIFY(s.editor.Selection.HasSelection());
        QCOMPARE(s.editor.Selection.SelectionRect.w, 21);

        Choose(s, Tool::Move);
        Drag(s, {At(20, 20), At(30, 20), At(40, 20)});
        QCOMPARE(s.editor.Image.Pixel(45, 15), Red);
        QCOMPARE(s.editor.Image.Pixel(15, 15), White); // the hole in the background colour

        s.window.Menu().Action("N26")->trigger();
        QVERIFY(s.window.InstrumForm()->ToolButton(Tool::Pencil)->isChecked());
        QCOMPARE(s.editor.Image.Pixel(15, 15), Red);
        QCOMPARE(s.editor.Image.Pixel(45, 15), White);
        QCOMPARE(s.editor.Selection.SelectionRect.x, 30); // the selection stays where it was dropped
    }

    void copyAndPasteThroughTheSystemClipboard()
    {
        Setup s;
        s.editor.Image.FillBlock(5, 5, 14, 9, Red);
        Choose(s, Tool::RectangleSelect);
        Drag(s, {At(5, 5), At(14, 9)});
        s.window.Menu().Action("N8")->trigger();
        const QImage copied = QGuiApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(10, 5));
        QCOMPARE(QColor(copied.pixel(3, 3)), QColor(Qt::red));

        // A picture another program copied.
        QImage other(40, 30, QImage::Format_RGB32);
        other.fill(QColor(0, 200, 0));
        QGuiApplication::clipboard()->setImage(other);
        emit s.window.Menu().Menu("N6")->aboutToShow();
        QVERIFY(s.window.Menu().Action("N9")->isEnabled());
        QVERIFY(s.window.Menu().Action("N8")->isEnabled());
        s.window.Menu().Action("N9")->trigger();
        QCOMPARE(s.editor.Image.Pixel(0, 0), PackRGB(0, 200, 0));
        QCOMPARE(s.editor.Image.Pixel(39, 29), PackRGB(0, 200, 0));
        QVERIFY(s.window.InstrumForm()->ToolButton(Tool::Move)->isChecked());
        QVERIFY(!s.window.OptForm()->TypeList()->isEnabled());
    }

    void placedTextFloatsAndTakesTheTransparency()
    {
        Setup s;
        Choose(s, Tool::Text);
        QVERIFY(s.window.OptForm()->TransparencyList()->isEnabled());
        QVERIFY(!s.window.OptForm()->SizeList()->isEnabled());
        WhenModal([](QWidget* w) {
            auto* dialog = static_cast<TAddText*>(w);
            QVERIFY(!dialog->OkButton()->isEnabled());
            dialog->Memo()->setPlainText("Hi");
            QVERIFY(dialog->OkButton()->isEnabled());
            dialog->OkButton()->click();
        });
        QTest::mouseClick(View(s), Qt::LeftButton, {}, At(10, 10));
        QVERIFY(s.editor.Selection.FloatingText);
        QVERIFY(s.editor.Selection.HasSelection());
        QCOMPARE(s.editor.Selection.SelectionOffsetX, 10);
        QCOMPARE(s.editor.Settings.CurrentTool, Tool::Move);
        QVERIFY(s.window.InstrumForm()->ToolButton(Tool::Move)->isChecked());
        const int inked = CountColor(s.editor.Image, Black, 0, 0, 200, 200);
        QVERIFY(inked > 10);

        QComboBox* transparency = s.window.OptForm()->TransparencyList();
        QVERIFY(transparency->isEnabled());
        transparency->setEditText("50");
        QTest::keyClick(transparency->lineEdit(), Qt::Key_Return);
        QCOMPARE(CountColor(s.editor.Image, Black, 0, 0, 200, 200), 0);
        QCOMPARE(CountColor(s.editor.Image, PackRGB(127, 127, 127), 0, 0, 200, 200), inked);

        // Any tool drops it, and the selection goes with it.
        Choose(s, Tool::Pencil);
        QVERIFY(!s.editor.Selection.FloatingText);
        QVERIFY(!s.editor.Selection.HasSelection());
    }

    void textWiderThanThePictureIsRefused()
    {
        Setup s;
        TAddText* dialog = s.window.AddText();
        dialog->Memo()->setPlainText(QString(400, 'W'));
        QString message;
        WhenModal([&](QWidget* w) {
            message = static_cast<QMessageBox*>(w)->text();
            static_cast<QMessageBox*>(w)->accept();
        });
        dialog->Button4Click();
        QCOMPARE(message, QString("Text width is larger than image width"));
        QVERIFY(!s.editor.Selection.HasSelection());
        QCOMPARE(s.editor.UndoCount, 0);
    }
};

static const bool registered = RegisterUiTest<PaintingTest>();
#include "PaintingTest.moc"
