#include "UiSupport.h"
#include "UiTest.h"
#include "app/ui/PreviewForm.h"
#include "document/Undo.h"
#include "paint/ui/EditForm.h"
#include "paint/ui/InstrumForm.h"
#include "paint/ui/OptForm.h"

#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QtTest>

#include <functional>

using namespace krt;
using krt::test::Setup;
using krt::test::WhenModal;

namespace {

QWidget* View(Setup& s) { return s.window.EditForm()->Image(); }

// A key as the user types it: to whichever widget has the keyboard focus.
void Type(Setup& s, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
{
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : &s.window, key, modifiers);
}

void Stroke(Setup& s)
{
    QTest::mousePress(View(s), Qt::LeftButton, {}, QPoint(20, 20));
    QTest::mouseMove(View(s), QPoint(60, 20));
    QTest::mouseRelease(View(s), Qt::LeftButton, {}, QPoint(60, 20));
}

// Any message box that comes up is closed, and counted.
struct MessageWatch {
    int seen = 0;
    QTimer timer;
    MessageWatch()
    {
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ++seen;
                box->reject();
            }
        });
        timer.start(10);
    }
};

void Activate(Setup& s)
{
    s.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.window));
}

} // namespace

class ShortcutsTest : public QObject {
    Q_OBJECT
private slots:
    void editShortcutsReachThePictureWhereverTheFocusIs()
    {
        Setup s;
        Activate(s);
        // At start-up and after a click in the picture.
        Stroke(s);
        QCOMPARE(s.editor.Image.Pixel(20, 10), Black);
        Type(s, Qt::Key_Z);
        QCOMPARE(s.editor.Image.Pixel(20, 10), PackRGB(255, 255, 255));
        QApplication::clipboard()->clear();
        Type(s, Qt::Key_A);
        QVERIFY(s.editor.Selection.HasSelection());
        Type(s, Qt::Key_C);
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(1000, 1000));
    }

    void atStartUpTheShortcutsWinButTheUserTypingInABoxKeepsItsKeys()
    {
        Setup s;
        Activate(s);
        // Whatever box the program gave the focus to, Ctrl+A selects the picture.
        Type(s, Qt::Key_A);
        QVERIFY(s.editor.Selection.HasSelection());
        s.editor.Selection.Deselect();
        // Clicked into the zoom box, the user edits its text: Ctrl+A is the box's.
        QLineEdit* zoom = s.window.EditForm()->Combo()->lineEdit();
        QTest::mouseClick(zoom, Qt::LeftButton);
        Type(s, Qt::Key_A);
        QVERIFY(!s.editor.Selection.HasSelection());
        QCOMPARE(zoom->selectedText(), zoom->text());
        // A click in the picture gives the keys back to the editor.
        QTest::mouseClick(View(s), Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(View(s)->hasFocus());
        Type(s, Qt::Key_A);
        QVERIFY(s.editor.Selection.HasSelection());
    }

    // A box in another child window, clicked into: Ctrl+A selects its text and
    // what is typed replaces it; Escape gives the keys back to the picture.
    void aBoxClickedIntoOwnsItsEditingKeysUntilEscape()
    {
        Setup s;
        Activate(s);
        QVERIFY2(View(s)->hasFocus(), "the keys start with the picture");
        struct Case {
            QComboBox* box;
            const char* typed;
            std::function<bool()> taken;
        };
        const Case cases[] = {
            {s.window.OptForm()->TransparencyList(), "50", [&] { return s.editor.Settings.Transparency == 50; }},
            {s.window.EditForm()->Combo(), "150", [&] { return s.editor.View.Zoom == 1.5f; }},
        };
        for (const Case& c : cases) {
            // Another child window is active first.
            QTest::mouseClick(s.window.PreviewForm()->Image(), Qt::LeftButton, {}, QPoint(2, 2));
            // On X11 a click into a window that is not active hands the focus
            // to the box as the window's activation, before the press arrives.
            c.box->lineEdit()->setFocus(Qt::ActiveWindowFocusReason);
            QTest::mouseClick(c.box->lineEdit(), Qt::LeftButton);
            Type(s, Qt::Key_A);
            QVERIFY2(!s.editor.Selection.HasSelection(), c.typed);
            QTest::keyClicks(QApplication::focusWidget(), c.typed);
            Type(s, Qt::Key_Return, Qt::NoModifier);
            QVERIFY2(c.taken(), c.typed);
            Type(s, Qt::Key_Escape, Qt::NoModifier);
            QVERIFY2(View(s)->hasFocus(), c.typed);
            Type(s, Qt::Key_A);
            QVERIFY2(s.editor.Selection.HasSelection(), c.typed);
            s.editor.Selection.Deselect();
        }
    }

    void typedValuesConfirmedWithEnterAreTaken()
    {
        Setup s;
        Activate(s);
        QComboBox* zoom = s.window.EditForm()->Combo();
        QTest::mouseClick(zoom->lineEdit(), Qt::LeftButton);
        test::SelectAllTyped(QApplication::focusWidget());
        QTest::keyClicks(QApplication::focusWidget(), "150");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(s.editor.View.Zoom, 1.5f);
        QCOMPARE(zoom->currentText(), QString("150%"));

        QComboBox* transparency = s.window.OptForm()->TransparencyList();
        QTest::mouseClick(s.window.InstrumForm()->ToolButton(Tool::Pencil), Qt::LeftButton);
        QTest::mouseClick(transparency->lineEdit(), Qt::LeftButton);
        test::SelectAllTyped(QApplication::focusWidget());
        QTest::keyClicks(QApplication::focusWidget(), "35");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
        QCOMPARE(s.editor.Settings.Transparency, 35);
        QCOMPARE(transparency->currentText(), QString("35%"));
    }

    void aShortcutDoesNothingWhereItsMenuItemWouldBeGrey()
    {
        Setup s;
        Activate(s);
        MessageWatch messages;
        // No name yet: Save is grey, Ctrl+S writes nothing and says nothing.
        s.editor.Document.ModifiedCount = 1;
        Type(s, Qt::Key_S);
        QTest::qWait(50);
        QCOMPARE(messages.seen, 0);
        // No selection: Ctrl+X leaves the clipboard alone.
        QApplication::clipboard()->setText("the user's text");
        Type(s, Qt::Key_X);
        QCOMPARE(QApplication::clipboard()->text(), QString("the user's text"));
        // No picture on the clipboard: Ctrl+V takes no undo step.
        for (int i = 0; i < UndoDepth; ++i)
            PushUndo(s.editor);
        Type(s, Qt::Key_V);
        QCOMPARE(s.editor.UndoCount, UndoDepth);
        QCOMPARE(s.editor.Settings.CurrentTool, Tool::Pencil);
    }

    void saveFollowsTheDocumentAfterItsMenuWasOpened()
    {
        Setup s;
        Activate(s);
        QTemporaryDir dir;
        const QString path = dir.path() + "/picture.bmp";
        s.editor.Document.DocFileName = path.toStdString();
        s.editor.Document.ModifiedCount = 0;
        QMenu* file = s.window.Menu().Menu("N1");
        file->popup(QPoint(0, 0));
        QVERIFY2(!s.window.Menu().Action("N3")->isEnabled(), "nothing to save");
        file->hide();
        Stroke(s);
        Type(s, Qt::Key_S);
        QVERIFY(QFileInfo::exists(path));
        QCOMPARE(s.editor.Document.ModifiedCount, 0);
    }
};

static const bool registered = RegisterUiTest<ShortcutsTest>();

#include "ShortcutsTest.moc"
