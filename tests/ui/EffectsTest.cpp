#include "UiSupport.h"
#include "UiTest.h"
#include "effects/Buttonize.h"
#include "effects/ColorParams.h"
#include "effects/Convolution.h"
#include "effects/Emboss.h"
#include "effects/Gamma.h"
#include "effects/Plasma.h"
#include "effects/ui/ColorEffectsMenu.h"
#include "effects/ui/FilterMenu.h"
#include "library/LibraryFile.h"
#include "paint/SelectionShapes.h"
#include "support/TestSupport.h"

#include <QMessageBox>
#include <QtTest>

using namespace krt;
using krt::test::WhenModal;

namespace {

constexpr std::uint32_t Seed = 1234;

struct Session {
    Session() : home(), s(Language::English, Paths(home))
    {
        s.window.ColorEffects().Clouds()->seed = [] { return Seed; };
        s.editor.Image = test::PatternImage(90, 70);
        s.editor.BuildDocumentBuffers();
    }
    static DataPaths Paths(const test::TempFolder& folder)
    {
        PrepareUserFolder(folder.Path());
        return DataPaths{folder.Path(), KRT_SOURCE_DATA_DIR};
    }
    FilterMenu& Filters() { return s.window.Filters(); }
    ColorEffectsMenu& Colors() { return s.window.ColorEffects(); }
    test::TempFolder home;
    test::Setup s;
};

TFastBMP Copy(const TFastBMP& picture)
{
    TFastBMP copy;
    copy.CopyFrom(picture);
    return copy;
}

// One effect of the menu: its item, what to do in its dialog before "OK"
// (none for the effects without one), and what it makes of a picture.
struct EffectCase {
    const char* name;
    std::function<QAction*(Session&)> item;
    std::function<void(QWidget* dialog)> settle;
    std::function<void(TFastBMP& target, const TFastBMP& source, const Editor& editor)> expected;
};

const std::string BlurNumbers = "1,2,1,2,4,2,1,2,1,16";

std::vector<EffectCase> Cases()
{
    auto action = [](const char* name) { return [name](Session& t) { return t.s.window.Menu().Action(name); }; };
    return {
        {"gamma", action("N25"), [](QWidget*) {},
         [](TFastBMP& target, const TFastBMP& source, const Editor&) {
             GammaCurves opening;
             opening.Recompute();
             ApplyGamma(target, source, opening);
         }},
        {"params", action("N38"),
         [](QWidget* dialog) {
             auto* form = static_cast<TParamsForm*>(dialog);
             test::SlideTo(form->ScrollBar(0), 100);
             test::SlideTo(form->ScrollBar(1), 30);
             test::SlideTo(form->ScrollBar(2), 60);
         },
         [](TFastBMP& target, const TFastBMP&, const Editor&) { ApplyColorParams(target, 100, 30, 60); }},
        {"button", action("N16"),
         [](QWidget* dialog) {
             auto* form = static_cast<TButtonize*>(dialog);
             QTest::mouseClick(form->RaisedButton(), Qt::LeftButton);
             test::SlideTo(form->DepthBar(), 12);
         },
         [](TFastBMP& target, const TFastBMP&, const Editor&) {
             Bevel(target, 12, ButtonColors(false).topLeft, ButtonColors(false).bottomRight);
         }},
        {"clouds", action("N17"),
         [](QWidget* dialog) {
             auto* form = static_cast<TClouds*>(dialog);
             test::SlideTo(form->TransparencyBar(), 30);
             test::SlideTo(form->RoughnessBar(), 7);
         },
         [](TFastBMP& target, const TFastBMP& source, const Editor& editor) {
             GeneratePlasma(target, 7, Seed, editor.Settings.BackColor, editor.Settings.ForeColor);
             MixClouds(target, source, 30);
         }},
        {"emboss", action("N35"), nullptr, [](TFastBMP& target, const TFastBMP&, const Editor&) { Emboss(target); }},
        {"filter", [](Session& t) { return t.Filters().Item(1); }, nullptr,
         [](TFastBMP& target, const TFastBMP& source, const Editor&) {
             Convolve3x3(target, source, ParseFilterNumbers(BlurNumbers));
         }},
    };
}

void Press(QWidget* dialog, bool ok)
{
    auto* form = qobject_cast<EffectDialog*>(dialog);
    QVERIFY(form);
    QTest::mouseClick(ok ? form->OkButton() : form->CancelButton(), Qt::LeftButton);
}

} // namespace

class EffectsTest : public QObject {
    Q_OBJECT
private slots:
    void everyEffectOnThePictureOkUndoAndCancel()
    {
        for (const EffectCase& c : Cases()) {
            Session t;
            const QString name = QString::fromUtf8(c.name);
            QCOMPARE(t.Filters().Item(1)->text(), QString("Gaussian blur"));
            const TFastBMP before = Copy(t.s.editor.Image);
            if (c.settle) {
                WhenModal([&](QWidget* dialog) {
                    c.settle(dialog);
                    Press(dialog, false);
                });
                c.item(t)->trigger();
                QVERIFY2(t.s.editor.Image.SamePixels(before), qPrintable(name + ": cancel changes nothing"));
                QVERIFY2(t.s.editor.UndoCount == 0, qPrintable(name));
                // The dialog keeps its settings; OK applies them.
                WhenModal([](QWidget* dialog) { Press(dialog, true); });
            }
            c.item(t)->trigger();
            TFastBMP expected = Copy(before);
            c.expected(expected, before, t.s.editor);
            QVERIFY2(t.s.editor.Image.SamePixels(expected), qPrintable(name));
            QVERIFY2(!expected.SamePixels(before), qPrintable(name + " changes the test picture"));
            QVERIFY2(t.s.editor.UndoCount == 1, qPrintable(name));
            t.s.window.Menu().Action("N26")->trigger();
            QVERIFY2(t.s.editor.Image.SamePixels(before), qPrintable(name + ": undo"));
        }
    }

    void everyEffectOnASelectionChangesTheFloatingBlockOnly()
    {
        for (const EffectCase& c : Cases()) {
            Session t;
            const QString name = QString::fromUtf8(c.name);
            SetRectSelection(t.s.editor, 10, 10, 49, 39);
            t.s.editor.Selection.MaskRow(20)[20] = 0; // one cell of the rectangle not selected
            const TFastBMP before = Copy(t.s.editor.Image);
            // The block as the move tool lifts it: the unselected cell empty.
            TFastBMP lifted(40, 30);
            before.CopyBlockInto(lifted, 0, 0, 40, 30, 10, 10);
            lifted.SetPixel(10, 10, KeyColor);
            if (c.settle) {
                WhenModal([&](QWidget* dialog) {
                    c.settle(dialog);
                    Press(dialog, false);
                });
                c.item(t)->trigger();
                QVERIFY2(t.s.editor.Selection.FloatingPixels.SamePixels(lifted), qPrintable(name + ": cancel"));
                QVERIFY2(t.s.editor.UndoCount == 0, qPrintable(name + ": cancel"));
                WhenModal([](QWidget* dialog) { Press(dialog, true); });
            }
            c.item(t)->trigger();
            TFastBMP expected = Copy(lifted);
            c.expected(expected, lifted, t.s.editor);
            expected.SetPixel(10, 10, KeyColor);
            QCOMPARE(t.s.editor.Settings.CurrentTool, Tool::Move);
            QVERIFY2(t.s.editor.Selection.FloatingPixels.SamePixels(expected), qPrintable(name));
            QCOMPARE(t.s.editor.Image.Pixel(5, 5), before.Pixel(5, 5));
            QCOMPARE(t.s.editor.Image.Pixel(60, 45), before.Pixel(60, 45));
            QCOMPARE(t.s.editor.Image.Pixel(20, 20), before.Pixel(20, 20));
            QCOMPARE(t.s.editor.Image.Pixel(30, 30), expected.Pixel(20, 20));
        }
    }

    void theFilterEditorPreviewsAddsAndTheDeletionDialogRemoves()
    {
        Session t;
        const TFastBMP before = Copy(t.s.editor.Image);
        const int builtins = t.Filters().Table().BuiltinFilterCount();
        QVERIFY(builtins >= 16);
        QImage unfiltered, previewed;
        WhenModal([&](QWidget* modal) {
            auto* form = qobject_cast<TFilterForm*>(modal);
            QVERIFY(form);
            QTest::keyClicks(form->NameEdit(), "Mine");
            // Tab runs over the screen: Edit1 Edit2 Edit3 / Edit6 Edit5 Edit4 Edit10 / Edit9 Edit8 Edit7.
            QTest::mouseClick(form->NameEdit(), Qt::LeftButton);
            for (const char* weight : {"", "", "-1", "", "2", "", "4", "3", "", ""}) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
                QTest::keyClicks(QApplication::focusWidget(), weight);
            }
            unfiltered = form->Image1()->Shown();
            QTest::mouseClick(form->PreviewButton(), Qt::LeftButton);
            previewed = form->Image1()->Shown();
            QTest::mouseClick(form->AddButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N33")->trigger();
        QVERIFY(unfiltered != previewed);
        QVERIFY2(t.s.editor.Image.SamePixels(before), "the editor leaves the picture as it was");
        QCOMPARE(t.Filters().Table().FilterCount(), builtins + 1);
        QCOMPARE(t.Filters().Item(builtins)->text(), QString("Mine"));
        // Edit3, top right on screen, holds w3; Edit9, bottom left, holds w9.
        const LibraryContents file = ReadLibraryFile(t.home.Path("ufilter.prg").string());
        QCOMPARE(file.records.size(), std::size_t{1});
        QCOMPARE(QString::fromStdString(file.records[0]), QString("Mine|0,0,-1,0,2,0,0,0,3,4"));

        // The new filter works from the menu.
        t.Filters().Item(builtins)->trigger();
        TFastBMP expected(before.Width, before.Height);
        Convolve3x3(expected, before, ParseFilterNumbers("0,0,-1,0,2,0,0,0,3,4"));
        QVERIFY(t.s.editor.Image.SamePixels(expected));

        WhenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<TDeleteFilForm*>(modal);
            QVERIFY(dialog);
            QCOMPARE(dialog->List()->count(), 1);
            QCOMPARE(dialog->List()->itemText(0), QString("Mine"));
            QTest::mouseClick(dialog->ActionButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N34")->trigger();
        QCOMPARE(t.Filters().Table().FilterCount(), builtins);
        QVERIFY(!t.Filters().Item(builtins));
        const std::vector<std::uint8_t> rewritten = test::ReadBytes(t.home.Path("ufilter.prg"));
        QCOMPARE(std::string(rewritten.begin(), rewritten.end()), std::string("0\r\n"));
        // With no filter of the user's, "Delete" is greyed and does nothing.
        t.s.window.Menu().Menu("N30")->popup(QPoint(0, 0));
        QVERIFY(!t.s.window.Menu().Action("N34")->isEnabled());
        t.s.window.Menu().Menu("N30")->hide();
        t.s.window.Menu().Action("N34")->trigger();
    }

    void aNameWithABarIsRefusedAndTheEditorKeepsItsFields()
    {
        Session t;
        const int count = t.Filters().Table().FilterCount();
        QString message;
        WhenModal([&](QWidget* modal) {
            auto* form = qobject_cast<TFilterForm*>(modal);
            QTest::keyClicks(form->NameEdit(), "A|B");
            WhenModal([&, form](QWidget* box) {
                message = static_cast<QMessageBox*>(box)->text();
                static_cast<QMessageBox*>(box)->accept();
                WhenModal([form](QWidget* still) {
                    QCOMPARE(still, static_cast<QWidget*>(form));
                    QCOMPARE(form->NameEdit()->text(), QString("A|B"));
                    QTest::mouseClick(form->CancelButton(), Qt::LeftButton);
                });
            });
            QTest::mouseClick(form->AddButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N33")->trigger();
        QCOMPARE(message, QString("The name of filter shouldn't contain '|'"));
        QCOMPARE(t.Filters().Table().FilterCount(), count);
    }

    void aFilterThatDoesNotParseIsReportedAndChangesNothing()
    {
        test::TempFolder home;
        PrepareUserFolder(home.Path());
        test::WriteBytes(home.Path("ufilter.prg"), "2\r\nBroken|1,1,x,1,1,1,1,1,1,9\r\nZero|1,1,1,1,1,1,1,1,1,0\r\n");
        test::Setup s(Language::English, DataPaths{home.Path(), KRT_SOURCE_DATA_DIR});
        s.editor.Image = test::PatternImage(30, 20);
        s.editor.BuildDocumentBuffers();
        const TFastBMP before = Copy(s.editor.Image);
        const int builtins = s.window.Filters().Table().BuiltinFilterCount();
        for (const auto& [slot, text] : {std::pair{0, "'x' is not a valid integer value"}, {1, "Division by zero"}}) {
            QString message;
            WhenModal([&message](QWidget* box) {
                message = static_cast<QMessageBox*>(box)->text();
                static_cast<QMessageBox*>(box)->accept();
            });
            s.window.Filters().Item(builtins + slot)->trigger();
            QCOMPARE(message, QString(text));
            QVERIFY(s.editor.Image.SamePixels(before));
            QCOMPARE(s.editor.UndoCount, 0);
            QCOMPARE(s.editor.Document.ModifiedCount, 0);
        }
    }

    void aGammaPressOrDragBendsTheCurveAndThePreviewFollows()
    {
        Session t;
        TGammaForm* form = t.Colors().GammaForm();
        WhenModal([form](QWidget*) {
            const QImage opened = form->PreviewBox()->Shown();
            const QImage redGraph = form->Graph(0)->Shown();
            // The right button alone, or a point outside the graph, changes nothing.
            QTest::mousePress(form->Graph(0), Qt::RightButton, {}, QPoint(32, 16));
            QTest::mouseRelease(form->Graph(0), Qt::RightButton, {}, QPoint(32, 16));
            QCOMPARE(form->Curves().tables[0][64], std::uint8_t{63});
            QTest::mousePress(form->Graph(0), Qt::LeftButton, {}, QPoint(32, 16));
            QCOMPARE(form->Curves().tables[0][64], std::uint8_t{128});
            QCOMPARE(form->Curves().tables[0][192], std::uint8_t{230});
            QCOMPARE(form->Curves().tables[1][64], std::uint8_t{63}); // green untouched
            QVERIFY(form->PreviewBox()->Shown() != opened);
            QVERIFY(form->Graph(0)->Shown() != redGraph);
            // Dragging on to (32, 48) darkens instead.
            QMouseEvent drag(QEvent::MouseMove, QPointF(32, 48), form->Graph(0)->mapToGlobal(QPointF(32, 48)),
                             Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(form->Graph(0), &drag);
            QCOMPARE(form->Curves().tables[0][64], std::uint8_t{25});
            QMouseEvent outside(QEvent::MouseMove, QPointF(70, 48), form->Graph(0)->mapToGlobal(QPointF(70, 48)),
                                Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(form->Graph(0), &outside);
            QCOMPARE(form->Curves().tables[0][64], std::uint8_t{25});
            QTest::mouseRelease(form->Graph(0), Qt::LeftButton, {}, QPoint(32, 48));
            QTest::mouseClick(form->CancelButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N25")->trigger();
        // Every opening starts from the straight curves again.
        WhenModal([form](QWidget*) {
            QCOMPARE(form->Curves().tables[0][64], std::uint8_t{63});
            QTest::mouseClick(form->CancelButton(), Qt::LeftButton);
        });
        t.s.window.Menu().Action("N25")->trigger();
    }

    void slidersKeepTheirPositionsAndThePreviewScalesTheRings()
    {
        Session t;
        t.s.editor.Image = test::PatternImage(540, 400);
        t.s.editor.BuildDocumentBuffers();
        WhenModal([](QWidget* dialog) {
            test::SlideTo(static_cast<TParamsForm*>(dialog)->ScrollBar(1), 40);
            Press(dialog, false);
        });
        t.s.window.Menu().Action("N38")->trigger();
        TButtonize* button = t.Colors().Buttonize();
        WhenModal([button](QWidget*) {
            test::SlideTo(button->DepthBar(), 40);
            // 40 picture pixels at the preview's scale of 100 / 400: 10 rings.
            DialogPreview& preview = button->Preview();
            const int rings = static_cast<int>(40 * preview.Scale());
            QCOMPARE(rings, 10);
            TFastBMP expected = Copy(preview.A());
            Bevel(expected, rings, ButtonColors(true).topLeft, ButtonColors(true).bottomRight);
            QVERIFY(preview.B().SamePixels(expected));
            Press(button, false);
        });
        t.s.window.Menu().Action("N16")->trigger();
        WhenModal([](QWidget* dialog) {
            QCOMPARE(static_cast<TParamsForm*>(dialog)->ScrollBar(1)->value(), 40);
            QCOMPARE(static_cast<TParamsForm*>(dialog)->ScrollBar(0)->value(), 255);
            Press(dialog, false);
        });
        t.s.window.Menu().Action("N38")->trigger();
        QCOMPARE(button->DepthBar()->value(), 40);
    }
};

static const bool registered = RegisterUiTest<EffectsTest>();

#include "EffectsTest.moc"
