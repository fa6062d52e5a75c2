#include "app/ui/MainWindow.h"
#include "UiTest.h"
#include "app/ui/AboutBox.h"
#include "app/ui/CaptionApplier.h"
#include "app/ui/KrtApplication.h"
#include "core/ui/RunGuarded.h"
#include "document/Editor.h"
#include "lang/CaptionTables.h"

#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

using namespace krt;

namespace {

// Texts of a menu's entries in order, separators as "-".
QStringList EntryTexts(const QMenu* menu)
{
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

class CountingDisplay : public OutlineDisplay {
public:
    void DrawOutline(const OutlinePhase& phase) override { seen.push_back(phase); }
    std::vector<OutlinePhase> seen;
};

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private:
    DataPaths Paths() const
    {
        DataPaths paths;
        paths.userFolder = home.path().toStdString();
        paths.programFolder = KRT_SOURCE_DATA_DIR;
        return paths;
    }
    QTemporaryDir home;

private slots:
    void englishMenuStructureAndShortcuts()
    {
        Editor editor(Language::English, Paths());
        TForm1 window(editor);
        QVERIFY(ApplyCaptions(CaptionTable(Language::English), window.Windows()).isEmpty());
        QCOMPARE(window.windowTitle(), QString("KRT Dalmor's Photo Editor"));

        QStringList top;
        for (const QAction* action : window.menuBar()->actions())
            top << action->text();
        QCOMPARE(top, (QStringList{"&File", "Edit", "E&ffects", "www.krtdalmor.example", "?"}));

        const MainMenu& menu = window.Menu();
        QCOMPARE(EntryTexts(menu.Menu("N1")),
                 (QStringList{"&New ...", "&Open", "&Save", "S&ave, as ...", "-", "&Print...", "-", "S&can image",
                              "Se&lect scaner source", "-", "E&xit"}));
        QCOMPARE(EntryTexts(menu.Menu("N6")),
                 (QStringList{"&Undo", "-", "Cut", "Copy", "Paste", "Clear", "P&aste as a new image", "-",
                              "S&elect all", "&Invert selection", "-", "&Crop", "&Resize"}));
        QCOMPARE(EntryTexts(menu.Menu("N27")),
                 (QStringList{"&Stylize, render", "&Distortion", "&Trilinear filters", "&Color"}));
        // "Деформация": its three fixed items, then one per deformation of the library.
        const QStringList distortion = EntryTexts(menu.Menu("N29"));
        QCOMPARE(distortion.mid(0, 4), (QStringList{"&New ...", "&Delete", "-", "Swirl"}));
        QCOMPARE(EntryTexts(menu.Menu("N21")), (QStringList{"&About the program", "&Help"}));

        const std::pair<const char*, const char*> shortcuts[] = {
            {"N22", "Ctrl+N"}, {"N2", "Ctrl+O"}, {"N3", "Ctrl+S"}, {"N47", "Ctrl+P"}, {"N26", "Ctrl+Z"},
            {"N7", "Ctrl+X"},  {"N8", "Ctrl+C"}, {"N9", "Ctrl+V"}, {"N10", "Ctrl+D"}, {"N11", "Ctrl+A"},
        };
        for (const auto& [name, keys] : shortcuts)
            QCOMPARE(menu.Action(name)->shortcut(), QKeySequence(keys));
        QCOMPARE(menu.Action("N4")->shortcut(), QKeySequence());

        // Every command of the menu is offered.
        for (QAction* action : menu.actions)
            QVERIFY2(action->isSeparator() || action->isEnabled(), qPrintable(action->objectName()));
    }

    void russianCaptionsReplaceTheDesignCaptions()
    {
        Editor editor(Language::Russian, Paths());
        TForm1 window(editor);
        QCOMPARE(window.Menu().Action("N22")->text(), QString("Создать"));
        QVERIFY(ApplyCaptions(CaptionTable(Language::Russian), window.Windows()).isEmpty());
        QCOMPARE(window.Menu().Action("N22")->text(), QString("&Новый"));
        QCOMPARE(window.Menu().Menu("N1")->title(), QString("&Файл"));
        QCOMPARE(window.Menu().Action("Crop1")->text(), QString("&Границы"));
    }

    void errorHandlerShowsTheTextAndGoesOn()
    {
        QString shown;
        QTimer::singleShot(0, [&shown] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        bool after = false;
        RunGuarded([] { throw std::runtime_error("The disk is full."); });
        after = true;
        QCOMPARE(shown, QString("The disk is full."));
        QVERIFY(after);
    }

    void timerAnimatesOnlyWithASelection()
    {
        Editor editor(Language::English, Paths());
        TForm1 window(editor);
        QCOMPARE(window.Timer1()->interval(), 1000);
        QVERIFY(window.Timer1()->isActive());
        CountingDisplay display;
        window.AddOutlineDisplay(&display);
        window.Timer1Timer();
        QVERIFY(display.seen.empty());
        editor.Selection.Select({0, 0, 1, 1});
        for (int i = 0; i < 5; ++i)
            window.Timer1Timer();
        QCOMPARE(display.seen.size(), std::size_t{5});
        QCOMPARE(display.seen[1].OutlineStart, 1);
        QCOMPARE(display.seen[1].OutlineGap, 1);
        QCOMPARE(display.seen[4].OutlineStart, 0);
        QCOMPARE(display.seen[4].OutlineGap, 0);
    }

    void aboutBoxShowsVersionAndPicture()
    {
        TAboutBox box(Language::English);
        QCOMPARE(box.size(), QSize(298, 213));
        auto* version = box.findChild<QLabel*>("Version");
        QVERIFY(version);
        QCOMPARE(version->text(), QString("Version 4.4"));
        const QImage picture = MakeAboutPicture(100).toImage();
        QCOMPARE(picture.size(), QSize(100, 100));
        QVERIFY(picture.pixel(50, 50) != picture.pixel(10, 80));
    }
};

static const bool registered = RegisterUiTest<MainWindowTest>();
#include "MainWindowTest.moc"
