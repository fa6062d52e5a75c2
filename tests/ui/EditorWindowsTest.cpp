#include "UiSupport.h"
#include "UiTest.h"
#include "app/ui/CaptionApplier.h"
#include "app/ui/MainWindow.h"
#include "app/ui/PreviewForm.h"
#include "core/ScaledBlit.h"
#include "document/Editor.h"
#include "imageio/ImageFiles.h"
#include "lang/CaptionTables.h"
#include "paint/ui/ColorForm.h"
#include "paint/ui/EditForm.h"
#include "paint/ui/InstrumForm.h"
#include "paint/ui/OptForm.h"
#include "support/TestSupport.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <functional>

using namespace krt;
using krt::test::Setup;
using krt::test::WhenModal;

namespace {

// File names for the file commands instead of the file dialogs.
struct ScriptedFiles : Prompts {
    std::deque<std::string> files;
    int filter = 4;
    Answer AskYesNoCancel(const std::string&) override { return Answer::No; }
    std::optional<std::string> AskText(const std::string&, const std::string&, const std::string&) override
    {
        return std::string("90");
    }
    std::optional<std::string> ChooseFileToOpen(const std::string&) override { return Next(); }
    std::optional<std::string> ChooseFileToSave(const std::string&, int& f) override
    {
        f = filter;
        return Next();
    }
    std::optional<ImageSize> AskNewImageSize() override { return std::nullopt; }
    bool AskYesNo(const std::string&) override { return false; }
    std::optional<ResizeRequest> AskResize(int, int) override { return std::nullopt; }
    std::optional<std::string> Next()
    {
        std::string f = files.front();
        files.pop_front();
        return f;
    }
};

} // namespace

class EditorWindowsTest : public QObject {
    Q_OBJECT
private slots:
    void startUpLayoutWithAndWithoutAFile()
    {
        Setup s;
        QCOMPARE(s.window.pos(), QPoint(0, 0));
        QCOMPARE(s.window.size(), QSize(726, 540));
        QCOMPARE(s.window.SubWindow(s.window.EditForm())->geometry(), QRect(385, 183, 326, 292));
        QCOMPARE(s.window.InstrumForm()->size(), QSize(50, 445));
        QTemporaryDir dir;
        const std::string ini = (dir.path() + "/krtphed.ini").toStdString();
        std::vector<LayoutValue> layout = DefaultWindowLayout();
        for (LayoutValue& v : layout)
            if (v.section == "EditForm" && v.key == "Width")
                v.value = 330;
        SaveWindowLayout(ini, layout);
        s.window.ApplyWindowLayout(LoadWindowLayout(ini));
        QCOMPARE(s.window.SubWindow(s.window.EditForm())->width(), 330);
        const auto current = s.window.CurrentWindowLayout();
        QCOMPARE(LayoutLookup(current, "EditForm", "Width", 0), 330);
        QCOMPARE(LayoutLookup(current, "EditForm", "Left", 0), 385);
        // The caption tables reached every window.
        QCOMPARE(s.window.PreviewForm()->windowTitle(), QString("Preview"));
        QCOMPARE(s.window.OptForm()->TypeList()->itemText(3), QString("Multyply"));
    }

    void aDamagedLayoutFileCannotPutAWindowOutOfReach()
    {
        Setup s;
        QTemporaryDir dir;
        const std::string ini = (dir.path() + "/krtphed.ini").toStdString();
        test::WriteBytes(ini, "[Form1]\nLeft=-30000\nTop=-500\nWidth=100000\nHeight=100000\n"
                              "[PreviewForm]\nLeft=-9999\nTop=99999\nWidth=100000\nHeight=5\n"
                              "[EditForm]\nLeft=50\nTop=50\nWidth=200\nHeight=40\n"
                              "[InstrumForm]\nLeft=-400\nTop=-400\n[OptForm]\nLeft=99999\n"
                              "[ColorForm]\nTop=-1\n");
        s.window.ApplyWindowLayout(LoadWindowLayout(ini));
        const QRect screen = s.window.screen()->availableGeometry();
        QVERIFY2(screen.contains(s.window.frameGeometry().topLeft()), "the menu bar is on the screen");
        QVERIFY(s.window.width() <= screen.width() && s.window.height() <= screen.height());
        const QRect area = s.window.MdiArea()->rect();
        for (QMdiSubWindow* sub : s.window.MdiArea()->subWindowList()) {
            const QRect r = sub->geometry();
            QVERIFY2(r.top() >= 0 && r.top() < area.bottom(), qPrintable(sub->objectName()));
            QVERIFY2(r.x() + r.width() >= 40 && r.x() + 40 <= area.width(), qPrintable(sub->objectName()));
            QVERIFY2(r.width() <= screen.width() && r.height() <= screen.height(), qPrintable(sub->objectName()));
        }
        QVERIFY2(s.window.EditForm()->height() >= TEditForm::MinimumClientHeight, "the document window's minimum");
        // What is written back at exit is the usable layout.
        const auto current = s.window.CurrentWindowLayout();
        QVERIFY(LayoutLookup(current, "Form1", "Width", 0) <= screen.width());
        QVERIFY(LayoutLookup(current, "InstrumForm", "Top", -1) >= 0);
    }

    // Extreme values everywhere: every child window's whole title bar lies
    // inside the frame's client area.
    void extremeLayoutValuesKeepEveryTitleBarInside()
    {
        for (const long long value : {-5000LL, -2147483648LL, 2147483647LL}) {
            Setup s;
            QTemporaryDir dir;
            const std::string ini = (dir.path() + "/krtphed.ini").toStdString();
            std::string text;
            for (const char* section : {"Form1", "PreviewForm", "EditForm", "InstrumForm", "OptForm", "ColorForm"}) {
                text += std::string("[") + section + "]\n";
                for (const char* key : {"Left", "Top", "Width", "Height"})
                    text += std::string(key) + "=" + std::to_string(value) + "\n";
            }
            test::WriteBytes(ini, text);
            s.window.ApplyWindowLayout(LoadWindowLayout(ini));
            const QRect area = s.window.MdiArea()->rect();
            for (QMdiSubWindow* sub : s.window.MdiArea()->subWindowList()) {
                const QRect r = sub->geometry();
                const int titleBar = sub->widget()->mapTo(sub, QPoint(0, 0)).y();
                const QString what = sub->objectName() + " at " + QString::number(value);
                QVERIFY2(r.left() >= 0 && r.top() >= 0, qPrintable(what));
                QVERIFY2(r.right() <= area.right() || (r.left() == 0 && r.width() > area.width()), qPrintable(what));
                QVERIFY2(r.top() + titleBar <= area.height(), qPrintable(what));
            }
        }
    }

    void typingAZoom()
    {
        Setup s;
        QComboBox* combo = s.window.EditForm()->Combo();
        combo->setEditText("400");
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QCOMPARE(s.editor.View.Zoom, 4.0f);
        QCOMPARE(combo->currentText(), QString("400%"));
        // A zoom of 0 is refused with a message and the zoom stays.
        QString message;
        WhenModal([&](QWidget* w) {
            message = static_cast<QMessageBox*>(w)->text();
            static_cast<QMessageBox*>(w)->accept();
        });
        combo->setEditText("0");
        QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
        QVERIFY(message.contains("at least 1"));
        QCOMPARE(s.editor.View.Zoom, 4.0f);
    }

    void theViewShowsTheImageAndAMargin()
    {
        Setup s;
        s.editor.Image.Allocate(40, 30);
        s.editor.Image.Fill(PackRGB(10, 200, 30));
        s.window.DocumentReplaced();
        const QImage shown = s.window.EditForm()->Image()->Shown();
        QCOMPARE(shown.pixel(5, 5), qRgb(10, 200, 30));
        QCOMPARE(shown.pixel(shown.width() - 1, 5), qRgb(192, 192, 192)); // right of the 80 zoomed columns
    }

    void clickingInThePreviewScrolls()
    {
        Setup s;
        BufferView* preview = s.window.PreviewForm()->Image();
        const float scale = s.editor.View.PreviewScale;
        QTest::mouseClick(preview, Qt::LeftButton, {}, QPoint(100, 50));
        QCOMPARE(s.editor.View.ScrollX, static_cast<int>(100 / scale));
        QCOMPARE(s.editor.View.ScrollY, static_cast<int>(50 / scale));
        QTest::mouseMove(preview, QPoint(10, 10)); // no button: nothing changes
        QCOMPARE(s.editor.View.ScrollX, static_cast<int>(100 / scale));
    }

    void choosingToolsAndOptions()
    {
        Setup s;
        TOptForm* options = s.window.OptForm();
        QTest::mouseClick(s.window.InstrumForm()->ToolButton(Tool::Text), Qt::LeftButton);
        QCOMPARE(s.editor.Settings.CurrentTool, Tool::Text);
        QVERIFY(!options->TypeList()->isEnabled());
        QVERIFY(!options->SizeList()->isEnabled());
        QVERIFY(options->TransparencyList()->isEnabled());
        QTest::mouseClick(s.window.InstrumForm()->ToolButton(Tool::Brush), Qt::LeftButton);
        QCOMPARE(s.editor.Settings.CurrentTool, Tool::Brush);
        QVERIFY(options->TypeList()->isEnabled());
        QVERIFY(!s.window.InstrumForm()->ToolButton(Tool::Text)->isChecked());

        options->TypeList()->setCurrentIndex(3);
        QCOMPARE(s.editor.Settings.BrushMode, BrushMode::Multiply);
        options->SizeList()->setCurrentText("20");
        QCOMPARE(s.editor.Settings.BrushSize, 20);
        options->TransparencyList()->setEditText("50");
        QTest::keyClick(options->TransparencyList()->lineEdit(), Qt::Key_Return);
        QCOMPARE(s.editor.Settings.Transparency, 50);
        QCOMPARE(options->TransparencyList()->currentText(), QString("50%"));
    }

    void colourChooserAndPosterisation()
    {
        Setup s;
        TColorForm* colors = s.window.ColorForm();
        colors->ChannelEdit(0)->setText("300");
        QCOMPARE(colors->ChannelEdit(0)->text(), QString("255"));
        QCOMPARE(s.editor.Settings.ForeColor, PackRGB(255, 0, 0));
        QTest::mouseClick(colors->Grid(), Qt::LeftButton, {}, QPoint(8 * 19 + 5, 5));
        QCOMPARE(s.editor.Settings.ForeColor, PackRGB(128, 128, 128));
        QCOMPARE(colors->ChannelEdit(1)->text(), QString("128"));
        QTest::mouseClick(colors->Bar(2), Qt::LeftButton, {}, QPoint(77, 4));
        QCOMPARE(BlueOf(s.editor.Settings.ForeColor), 77);
        s.window.InstrumForm()->PosterizeBar(0)->setValue(64);
        QCOMPARE(static_cast<int>(s.editor.Settings.PosterizeR[32]), 64);
    }

    void newImageThroughTheDialog()
    {
        Setup s;
        s.editor.Document.ModifiedCount = 0;
        WhenModal([](QWidget* w) {
            auto* dialog = static_cast<TNewImage*>(w);
            dialog->WidthEdit()->setText(" 640 ");
            dialog->HeightEdit()->setText("480");
            QTest::keyClick(dialog->HeightEdit(), Qt::Key_Return);
        });
        s.window.Menu().Action("N22")->trigger();
        QCOMPARE(s.editor.Image.Width, 640);
        QCOMPARE(s.editor.Image.Height, 480);
        QCOMPARE(s.window.windowTitle(), QString("KRT Dalmor's Photo Editor - untitled"));
        QCOMPARE(s.editor.View.PreviewWidth > 0, true);
    }

    void saveAndOpenRoundTrips()
    {
        Setup s;
        QTemporaryDir dir;
        ScriptedFiles files;
        s.window.UsePrompts(files);
        s.editor.Image.Allocate(33, 21);
        for (int y = 0; y < 21; ++y)
            for (int x = 0; x < 33; ++x)
                s.editor.Image.SetPixel(x, y, PackRGB(x * 7, y * 12, 90));
        TFastBMP original;
        original.CopyFrom(s.editor.Image);
        for (const char* name : {"a.bmp", "b.jpg", "c.png"}) {
            const std::string path = (dir.path() + "/" + name).toStdString();
            files.filter = std::string(name).ends_with(".jpg") ? 3 : 4;
            files.files = {path, path};
            s.window.Menu().Action("N4")->trigger();
            QCOMPARE(s.window.windowTitle(), QString("KRT Dalmor's Photo Editor - ") + name);
            s.editor.Image.Fill(Black);
            s.window.Menu().Action("N2")->trigger();
            QCOMPARE(s.editor.Image.Width, 33);
            int worst = 0;
            for (int y = 0; y < 21; ++y)
                for (int x = 0; x < 33; ++x) {
                    const PackedColor a = s.editor.Image.Pixel(x, y), b = original.Pixel(x, y);
                    worst = std::max({worst, std::abs(RedOf(a) - RedOf(b)), std::abs(GreenOf(a) - GreenOf(b))});
                }
            QVERIFY2(worst <= (std::string(name).ends_with(".jpg") ? 12 : 0), name);
            s.editor.Image.CopyFrom(original);
        }
    }
};

static const bool registered = RegisterUiTest<EditorWindowsTest>();
#include "EditorWindowsTest.moc"
