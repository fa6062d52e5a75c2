// KRT Dalmor's Photo Editor: start-up, event loop and shut-down.

#include "core/DataPaths.h"
#include "document/Editor.h"
#include "app/LayoutFile.h"
#include "app/ui/CaptionApplier.h"
#include "app/ui/KrtApplication.h"
#include "core/ui/RunGuarded.h"
#include "app/ui/MainWindow.h"
#include "lang/CaptionTables.h"
#include "lang/Language.h"

#include <QMessageBox>

#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

namespace {

int RunEditor(krt::KrtApplication& app, bool saveLayout)
{
    krt::DataPaths paths = krt::DataPaths::FromEnvironment();
    krt::PrepareUserFolder(paths.userFolder);
    const krt::Language language = krt::LoadLanguage(paths.User("krtphoto.lng"));

    krt::Editor editor(language, paths);
    krt::TForm1 mainWindow(editor);

    const std::string layoutFile = (krt::ConfigFolder() / "krtphed.ini").string();
    mainWindow.ApplyWindowLayout(krt::LoadWindowLayout(layoutFile));
    mainWindow.FinishStartUp();
    const auto table = krt::CaptionTable(language);
    krt::ApplyMessageEntries(table, editor.messages);
    krt::ApplyCaptions(table, mainWindow.Windows());

    mainWindow.show();
    const int result = app.exec();
    // Started with arguments, the editor leaves the layout file alone.
    if (saveLayout)
        krt::RunGuarded([&] { krt::SaveWindowLayout(layoutFile, mainWindow.CurrentWindowLayout()); });
    return result;
}

} // namespace

int main(int argc, char** argv)
{
    krt::KrtApplication app(argc, argv);
    if (argc > 1 && (std::strcmp(argv[1], "-install") == 0 || std::strcmp(argv[1], "-uninstall") == 0)) {
        std::fprintf(stderr, "krtphoto: %s is not available in this build.\n", argv[1]);
        return 2;
    }
    try {
        return RunEditor(app, argc <= 1);
    } catch (const std::exception& e) {
        krt::ShowErrorMessage(QString::fromUtf8(e.what()));
        return 0;
    }
}
