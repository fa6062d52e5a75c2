#include "UiSupport.h"
#include "UiTest.h"
#include "deform/DeformationRecord.h"
#include "deform/ui/DeformationMenu.h"
#include "document/Undo.h"
#include "imageio/ImageFiles.h"
#include "lang/WebLinks.h"
#include "library/LibraryFile.h"
#include "paint/SelectionShapes.h"
#include "paint/View.h"
#include "paint/ui/InstrumForm.h"
#include "support/TestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QtTest>

using namespace krt;
using krt::test::WhenModal;

namespace {

// The editor with the built-in libraries and a user folder of its own.
struct Session {
    Session() : home(), s(Language::English, Paths(home)) {}
    static DataPaths Paths(const test::TempFolder& folder)
    {
        PrepareUserFolder(folder.Path());
        return DataPaths{folder.Path(), KRT_SOURCE_DATA_DIR};
    }
    DeformationMenu& Menu() { return s.window.Deformations(); }
    // The slot of a built-in deformation.
    int Slot(const std::string& name)
    {
        for (int slot = 0; slot < Menu().Table().DeformationCount(); ++slot)
            if (RecordName(Menu().Table().Record(slot)) == name)
                return slot;
        return -1;
    }
    test::TempFolder home;
    test::Setup s;
};

// A picture worth warping; returns a copy of it.
TFastBMP Paint(Editor& editor)
{
    editor.Image = test::PatternImage(120, 90);
    editor.BuildDocumentBuffers();
    TFastBMP copy;
    copy.CopyFrom(editor.Image);
    return copy;
}

// What the deformation gives when applied as krtphoto-batch applies it.
TFastBMP Expected(const TFastBMP& picture, const std::string& record, int a, PackedColor background,
                  WarpQuality quality = {})
{
    DeformationParams params = ParseRecord(record).Params();
    params.constants[0] = a;
    WarpOptions options;
    options.quality = quality;
    TFastBMP result(picture.Width, picture.Height);
    ApplyDeformation(result, picture, params, background, options);
    return result;
}

// In the open deformation dialog: the first slider moved by keys, then a button.
void MoveFirstSliderAndPress(QWidget* modal, int steps, bool ok)
{
    auto* form = qobject_cast<TEffectForm*>(modal);
    QVERIFY(form);
    QVERIFY(test::TabTo(form->ScrollBar(0)));
    test::Press(QApplication::focusWidget(), Qt::Key_Right, steps);
    QCOMPARE(form->ValueLabel(0)->text(), QString::number(form->ScrollBar(0)->value()));
    QTest::mouseClick(ok ? form->OkButton() : form->CancelButton(), Qt::LeftButton);
}

} // namespace

class DeformationTest : public QObject {
    Q_OBJECT
private slots:
    void aBuiltInDeformationFromTheMenuWarpsThePicture()
    {
        Session t;
        const TFastBMP before = Paint(t.s.editor);
        const int slot = t.Slot("Swirl");
        QVERIFY(slot >= 0);
        const std::string record = t.Menu().Table().Record(slot);
        const int a = ParseRecord(record).constants[0].defaultValue + 5;
        WhenModal([](QWidget* modal) { MoveFirstSliderAndPress(modal, 5, true); });
        t.Menu().Item(slot)->trigger();
        QVERIFY(t.s.editor.Image.SamePixels(Expected(before, record, a, t.s.editor.Settings.BackColor)));
        QCOMPARE(t.s.editor.UndoCount, 1);
        QCOMPARE(t.s.editor.Document.ModifiedCount, 1);
        t.s.window.Menu().Action("N26")->trigger();
        QVERIFY(t.s.editor.Image.SamePixels(before));
    }

    // The quality row is chosen with the keys (Tab, the arrows in a list box),
    // OK warps with it, and the layout file keeps it for the next run.
    void theQualityRowChangesWhatOkGives()
    {
        Session t;
        const TFastBMP before = Paint(t.s.editor);
        const int slot = t.Slot("Swirl");
        const std::string record = t.Menu().Table().Record(slot);
        WhenModal([](QWidget* modal) {
            auto* form = qobject_cast<TEffectForm*>(modal);
            QVERIFY(form);
            QVERIFY(test::TabTo(form->QualityBox(0)));
            test::Press(QApplication::focusWidget(), Qt::Key_Down, 1); // bilinear
            QVERIFY(test::TabTo(form->QualityBox(1)));
            test::Press(QApplication::focusWidget(), Qt::Key_Down, 3); // adaptive
            QVERIFY(test::TabTo(form->QualityBox(2)));
            test::Press(QApplication::focusWidget(), Qt::Key_Down, 3); // mirrored
            QVERIFY(test::TabTo(form->OkButton()));
            QTest::keyClick(form->OkButton(), Qt::Key_Space);
        });
        t.Menu().Item(slot)->trigger();
        const WarpQuality chosen{Sampling::Bilinear, Adaptive, EdgeMode::Mirror};
        const int a = ParseRecord(record).constants[0].defaultValue;
        QVERIFY(t.s.editor.Image.SamePixels(Expected(before, record, a, t.s.editor.Settings.BackColor, chosen)));
        QVERIFY(!t.s.editor.Image.SamePixels(Expected(before, record, a, t.s.editor.Settings.BackColor)));
        const auto layout = t.s.window.CurrentWindowLayout();
        QCOMPARE(LayoutLookup(layout, "EffectForm", "Sampling", -1), 1);
        QCOMPARE(LayoutLookup(layout, "EffectForm", "Supersample", -1), Adaptive);
        QCOMPARE(LayoutLookup(layout, "EffectForm", "Edge", -1), 3);
        // The next run starts with it.
        Session next;
        next.s.window.ApplyWindowLayout(layout);
        QCOMPARE(static_cast<int>(next.Menu().EffectForm()->Quality().sampling), 1);
        QCOMPARE(next.Menu().EffectForm()->Quality().samples, Adaptive);
    }

    // "Copy command" copies the krtphoto-batch line that gives, run on the
    // picture, the very bytes OK gives in the editor: every built-in
    // deformation but the random ones at its default sliders, the qualities
    // taken in turn so that every sampling, every number of samples and every
    // edge mode comes up.
    void copyCommandReproducesOk()
    {
        test::TempFolder folder;
        const std::string in = folder.Path("in.png").string(), out = folder.Path("out.png").string();
        const WarpQuality qualities[] = {{},
                                         {Sampling::Bilinear, Adaptive, EdgeMode::Mirror},
                                         {Sampling::Bicubic, 2, EdgeMode::Clamp},
                                         {Sampling::Nearest, 4, EdgeMode::Wrap},
                                         {Sampling::Bilinear, 1, EdgeMode::Background}};
        Session t;
        const TFastBMP picture = Paint(t.s.editor);
        WriteImageFile(in, picture, 100);
        const int builtins = t.Menu().Table().BuiltinDeformationCount();
        QVERIFY(builtins > 20);
        for (int slot = 0; slot < builtins; ++slot) {
            // Random draws differ from one run to the next, in the editor too.
            if (t.Menu().Table().Record(slot).find("random") != std::string::npos)
                continue;
            t.s.editor.Image.CopyFrom(picture);
            t.Menu().EffectForm()->SetQuality(qualities[slot % std::size(qualities)]);
            WhenModal([](QWidget* modal) {
                auto* form = qobject_cast<TEffectForm*>(modal);
                QVERIFY(form);
                QTest::mouseClick(form->CopyCommandButton(), Qt::LeftButton);
                QTest::mouseClick(form->OkButton(), Qt::LeftButton);
            });
            t.Menu().Item(slot)->trigger();
            QString line = QGuiApplication::clipboard()->text();
            QVERIFY2(line.startsWith("krtphoto-batch deform --record '") && line.endsWith(" IN OUT"), qPrintable(line));
            line = QString(KRT_BATCH_TOOL) + line.mid(14, line.size() - 14 - 7) + " " + QString::fromStdString(in) +
                   " " + QString::fromStdString(out);
            QProcess batch;
            batch.start("/bin/sh", {"-c", line});
            QVERIFY(batch.waitForFinished(60000));
            QVERIFY2(batch.exitCode() == 0, batch.readAllStandardError().constData());
            TFastBMP written;
            ReadImageFile(out, written);
            QVERIFY2(written.SamePixels(t.s.editor.Image), qPrintable(line));
        }
    }

    void cancelChangesNothingButTheChangeCount()
    {
        Session t;
        const TFastBMP before = Paint(t.s.editor);
        WhenModal([](QWidget* modal) { MoveFirstSliderAndPress(modal, 9, false); });
        t.Menu().Item(t.Slot("Twirl"))->trigger();
        QVERIFY(t.s.editor.Image.SamePixels(before));
        QCOMPARE(t.s.editor.UndoCount, 0);
    }

    void aLongWarpShowsItsProgressAndCancelLeavesTheDocumentAsItWas()
    {
        Session t;
        t.s.editor.Image = test::PatternImage(6000, 4000);
        t.s.editor.BuildDocumentBuffers();
        PushUndo(t.s.editor);
        TFastBMP before;
        before.CopyFrom(t.s.editor.Image);
        t.Menu().EffectForm()->SetProgressDelay(0);
        TFastBMP target, source;
        source.CopyFrom(before);
        target.CopyFrom(before);
        bool progressSeen = false;
        WhenModal([&](QWidget* modal) {
            WhenModal([&](QWidget* progress) {
                progressSeen = progress->objectName() == "WarpProgress";
                QTest::mouseClick(progress->findChild<QPushButton*>(), Qt::LeftButton);
                WhenModal([](QWidget* dialog) {
                    QTest::mouseClick(static_cast<TEffectForm*>(dialog)->CancelButton(), Qt::LeftButton);
                });
            });
            QTest::mouseClick(static_cast<TEffectForm*>(modal)->OkButton(), Qt::LeftButton);
        });
        const bool ok = t.Menu().EffectForm()->ShowDeformation(
            "Slow|0^0^0^0^0^0^0^0^0^0^0^0^11x+sin(x*y/99)*cos(x*y/77)*3+atan(x*y)|y+tan(x*y/55)", target, source,
            [&] { PushUndo(t.s.editor); });
        QVERIFY(progressSeen);
        QVERIFY(!ok);
        QVERIFY(target.SamePixels(before));
        QCOMPARE(t.s.editor.UndoCount, 1);
    }

    void onASelectionOnlyTheFloatingBlockIsWarped()
    {
        Session t;
        Paint(t.s.editor);
        SetRectSelection(t.s.editor, 10, 10, 49, 39);
        t.s.editor.Selection.MaskRow(20)[20] = 0; // one cell of the rectangle not selected
        TFastBMP before;
        before.CopyFrom(t.s.editor.Image);
        const int slot = t.Slot("Horizontal waves");
        WhenModal([](QWidget* modal) { MoveFirstSliderAndPress(modal, 0, true); });
        t.Menu().Item(slot)->trigger();
        QCOMPARE(t.s.editor.Settings.CurrentTool, Tool::Move);
        QVERIFY(t.s.window.InstrumForm()->ToolButton(Tool::Move)->isChecked());
        QCOMPARE(t.s.editor.Selection.FloatingPixels.Pixel(10, 10), KeyColor);
        QCOMPARE(t.s.editor.Image.Pixel(5, 5), before.Pixel(5, 5));
        QCOMPARE(t.s.editor.Image.Pixel(60, 60), before.Pixel(60, 60));
        QVERIFY(!t.s.editor.Image.SamePixels(before));
    }

    void anIncorrectFormulaIsReportedAndTheDialogStillOpens()
    {
        Session t;
        Paint(t.s.editor);
        TFastBMP target, source;
        source.CopyFrom(t.s.editor.Image);
        target.CopyFrom(source);
        QString message;
        WhenModal([&](QWidget* modal) {
            message = static_cast<QMessageBox*>(modal)->text();
            static_cast<QMessageBox*>(modal)->accept();
            WhenModal([](QWidget* dialog) {
                QTest::mouseClick(static_cast<TEffectForm*>(dialog)->CancelButton(), Qt::LeftButton);
            });
        });
        const bool ok =
            t.Menu().EffectForm()->ShowDeformation("Bad|0^0^0^0^0^0^0^0^0^0^0^0^11x+|y", target, source, [] {});
        QCOMPARE(message, QString("Incorrect formula X"));
        QVERIFY(!ok);
        QVERIFY(target.SamePixels(source));
    }

    void theEditorAddsTriesAndTheDeletionDialogRemoves()
    {
        Session t;
        const TFastBMP before = Paint(t.s.editor);
        const int builtins = t.Menu().Table().BuiltinDeformationCount();
        // Try a shift out, confirm it in the dialog, then add the record.
        WhenModal([](QWidget* modal) {
            auto* editor = qobject_cast<TEditEffect*>(modal);
            QVERIFY(editor);
            QTest::keyClicks(editor->NameEdit(), "Shift right");
            QTest::mouseClick(editor->FormulaEdit('x'), Qt::LeftButton);
            test::SelectAllTyped(editor->FormulaEdit('x'));
            QTest::keyClicks(editor->FormulaEdit('x'), "X-10");
            WhenModal([editor](QWidget* dialog) {
                QTest::mouseClick(static_cast<TEffectForm*>(dialog)->OkButton(), Qt::LeftButton);
                WhenModal([editor](QWidget*) { QTest::mouseClick(editor->AddButton(), Qt::LeftButton); });
            });
            QTest::mouseClick(editor->TryButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N31")->trigger();
        QVERIFY2(t.s.editor.Image.SamePixels(before), "the try-out is gone once the editor closed");
        QCOMPARE(t.Menu().Table().DeformationCount(), builtins + 1);
        QCOMPARE(t.Menu().Item(builtins)->text(), QString("Shift right"));
        const LibraryContents file = ReadLibraryFile(t.home.Path("ueffect.prg").string());
        QCOMPARE(file.records.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(file.records[0]), QString("Shift right|0^0^0^0^0^0^0^0^0^0^0^0^11x-10|y"));

        WhenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TDeleteEffForm*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->List()->count(), 1);
            QTest::mouseClick(dialog->ActionButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N32")->trigger();
        QCOMPARE(t.Menu().Table().DeformationCount(), builtins);
        QVERIFY(!t.Menu().Item(builtins));
        QVERIFY(ReadLibraryFile(t.home.Path("ueffect.prg").string()).records.empty());
        // With no deformation of the user's, "Delete" does nothing.
        t.s.window.Menu().Action("N32")->trigger();
    }

    // Enter in the editor's fields adds nothing (there is no default button);
    // a default typed after a click anywhere in its untouched box is taken.
    void theEditorTakesTypedFieldsAndEnterAddsNothing()
    {
        Session t;
        const int count = t.Menu().Table().DeformationCount();
        bool stayedOpen = false;
        WhenModal([&](QWidget* modal) {
            auto* editor = qobject_cast<TEditEffect*>(modal);
            QVERIFY(editor);
            QTest::mouseClick(editor->NameEdit(), Qt::LeftButton);
            QTest::keyClicks(QApplication::focusWidget(), "Half");
            for (QWidget* field : std::initializer_list<QWidget*>{editor->NameEdit(), editor->LabelEdit(0),
                                                                  editor->DefaultEdit(0), editor->FormulaEdit('x')}) {
                QVERIFY(test::TabTo(field));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            }
            stayedOpen = editor->isVisible() && t.Menu().Table().DeformationCount() == count;
            QLineEdit* value = editor->DefaultEdit(0);
            QTest::mouseClick(value, Qt::LeftButton, {}, QPoint(value->width() - 4, value->height() / 2));
            QTest::keyClicks(QApplication::focusWidget(), "57");
            QTest::mouseClick(editor->AddButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N31")->trigger();
        QVERIFY2(stayedOpen, "Enter in a field added the record or closed the editor");
        QCOMPARE(t.Menu().Table().DeformationCount(), count + 1);
        QCOMPARE(QString::fromStdString(t.Menu().Table().Record(count)),
                 QString("Half|0^57^0^0^0^0^0^0^0^0^0^0^11x|y"));
    }

    // "Test" shows the try-out in the document while the editor is open;
    // closing the editor puts the picture back exactly.
    void aTryOutShowsInTheDocumentUntilTheEditorCloses()
    {
        Session t;
        const TFastBMP before = Paint(t.s.editor);
        bool shown = false;
        WhenModal([&](QWidget* modal) {
            auto* editor = qobject_cast<TEditEffect*>(modal);
            QTest::mouseClick(editor->FormulaEdit('x'), Qt::LeftButton);
            test::SelectAllTyped(QApplication::focusWidget());
            QTest::keyClicks(QApplication::focusWidget(), "x-10");
            WhenModal([&, editor](QWidget* dialog) {
                QTest::mouseClick(static_cast<TEffectForm*>(dialog)->OkButton(), Qt::LeftButton);
                WhenModal([&, editor](QWidget*) {
                    // What the view shows is the warped picture, redrawn.
                    TFastBMP view;
                    view.CopyFrom(t.s.editor.View.ViewBuffer);
                    RedrawView(t.s.editor);
                    shown = !t.s.editor.Image.SamePixels(before) && view.SamePixels(t.s.editor.View.ViewBuffer);
                    QTest::mouseClick(editor->CancelButton(), Qt::LeftButton);
                });
            });
            QTest::mouseClick(editor->TryButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N31")->trigger();
        QVERIFY2(shown, "the try-out did not show in the view");
        QVERIFY(t.s.editor.Image.SamePixels(before));
    }

    // A record the library refuses is reported and the box comes back with
    // what was typed.
    void aRefusedCreateByStringKeepsWhatWasTyped()
    {
        Session t;
        const int count = t.Menu().Table().DeformationCount();
        // Longer than a library line holds.
        const QString typed = "Long|0^0^0^0^0^0^0^0^0^0^0^0^11x|y" + QString(180, '+') + "0";
        QString offeredAgain;
        bool reported = false;
        WhenModal([&](QWidget* modal) {
            auto* editor = qobject_cast<TEditEffect*>(modal);
            WhenModal([&, editor](QWidget* box) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
                QTest::keyClicks(QApplication::focusWidget(), typed);
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
                WhenModal([&, editor, box](QWidget* message) {
                    reported = qobject_cast<QMessageBox*>(message) != nullptr;
                    QTest::keyClick(message, Qt::Key_Return);
                    WhenModal([&, editor](QWidget* again) {
                        offeredAgain = static_cast<QInputDialog*>(again)->textValue();
                        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                        WhenModal([editor](QWidget*) { QTest::mouseClick(editor->CancelButton(), Qt::LeftButton); });
                    });
                });
            });
            QTest::mouseClick(editor->ByStringButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N31")->trigger();
        QVERIFY(reported);
        QCOMPARE(offeredAgain, typed);
        QCOMPARE(t.Menu().Table().DeformationCount(), count);
    }

    // Labels show whole (right-aligned before their sliders) and long
    // formulas from their start.
    void labelsShowWholeAndFormulasFromTheirStart()
    {
        Session t;
        Paint(t.s.editor);
        const std::string formula = "t+a*0.062832+sin(r/17)*cos(t*3)+sin(r/19)*cos(t*5)+sin(r/23)*cos(t*7)";
        bool checked = false;
        WhenModal([&](QWidget* modal) {
            auto* form = static_cast<TEffectForm*>(modal);
            QLabel* label = form->ConstantLabel(0);
            QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->contentsRect().width());
            QCOMPARE(label->text(), QString("Angle, % of a turn, whole"));
            QVERIFY(label->geometry().right() < form->ScrollBar(0)->geometry().left());
            QCOMPARE(form->Formula(0)->cursorPosition(), 0);
            checked = true;
            QTest::mouseClick(form->CancelButton(), Qt::LeftButton);
        });
        TFastBMP target, source;
        source.CopyFrom(t.s.editor.Image);
        target.CopyFrom(source);
        t.Menu().EffectForm()->ShowDeformation(
            "Turn|Angle, % of a turn, whole1^12^0^0^0^0^0^0^0^0^0^0^01" + formula + "|r", target, source, [] {});
        QVERIFY(checked);
    }

    void aCancelledCreateByStringAddsNothing()
    {
        Session t;
        const int count = t.Menu().Table().DeformationCount();
        WhenModal([](QWidget* modal) {
            auto* editor = qobject_cast<TEditEffect*>(modal);
            WhenModal([editor](QWidget* box) {
                static_cast<QDialog*>(box)->reject();
                WhenModal([editor](QWidget*) { QTest::mouseClick(editor->CancelButton(), Qt::LeftButton); });
            });
            QTest::mouseClick(editor->ByStringButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N31")->trigger();
        QCOMPARE(t.Menu().Table().DeformationCount(), count);
    }

    void publishingOpensTheAddressOfTheChosenDeformation()
    {
        Session t;
        std::vector<std::string> opened;
        t.s.window.openAddress = [&](const std::string& address) { opened.push_back(address); };
        WhenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TSendEffectForm*>(modal);
            QTest::mouseClick(dialog->ActionButton(), Qt::LeftButton);
            QTest::mouseClick(dialog->ActionButton(), Qt::LeftButton);
            QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N14")->trigger();
        QCOMPARE(opened.size(), std::size_t{2});
        QCOMPARE(QString::fromStdString(opened[0]),
                 QString::fromStdString(PublishingAddress(Language::English, t.Menu().Table().Record(0))));
        QVERIFY(opened[0].rfind("http://www.krtdalmor.example/english/cgi-bin/effectkonkurs.cgi?Swirl|", 0) == 0);
    }
};

static const bool registered = RegisterUiTest<DeformationTest>();

#include "DeformationTest.moc"
