// KRT Dalmor's Photo Editor: start-up, event loop and shut-down.

#include "app/LayoutFile.h"
#include "app/ui/CaptionApplier.h"
#include "app/ui/KrtApplication.h"
#include "app/ui/MainWindow.h"
#include "core/DataPaths.h"
#include "core/ui/RunGuarded.h"
#include "deform/ui/DeformationMenu.h"
#include "effects/ui/FilterMenu.h"
#include "document/Editor.h"
#include "lang/CaptionTables.h"
#include "lang/Language.h"
#include "lang/OwnMessages.h"

#include <QFileInfo>

#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>
#include <string>

namespace {

// What the command line asks for: a picture to open (the first argument when
// it is not an option, as a file manager's "Open with" passes it), and
// whether the window layout is saved at exit (not when started with other
// arguments).
struct StartRequest {
    std::optional<std::string> file;
    bool saveLayout = true;
};

StartRequest ReadArguments(int argc, char** argv)
{
    StartRequest request;
    if (argc > 1 && argv[1][0] != '-')
        request.file = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath().toStdString();
    request.saveLayout = argc <= 1 || (argc == 2 && request.file);
    return request;
}

int RunEditor(krt::KrtApplication& app, const StartRequest& request)
{
    krt::DataPaths paths = krt::DataPaths::FromEnvironment();
    krt::PrepareUserFolder(paths.userFolder);
    const krt::Language language = krt::LoadLanguage(paths.User("krtphoto.lng"));
    krt::SetMessageLanguage(language);

    krt::Editor editor(language, paths);
    krt::TForm1 mainWindow(editor);

    const std::string layoutFile = (krt::ConfigFolder() / "krtphed.ini").string();
    mainWindow.ApplyWindowLayout(krt::LoadWindowLayout(layoutFile));
    mainWindow.FinishStartUp();
    const auto table = krt::CaptionTable(language);
    krt::ApplyMessageEntries(table, editor.messages);
    krt::ApplyCaptions(table, mainWindow.Windows());

    mainWindow.show();
    // A user library that could not be read whole is reported once: it will
    // not be rewritten until it is mended.
    for (const krt::LibraryTable* library : std::initializer_list<const krt::LibraryTable*>{
             &mainWindow.Deformations().Table(), &mainWindow.Filters().Table()})
        if (!library->UserLibraryComplete())
            krt::ShowErrorMessage(QString::fromStdString(library->UserProblem()));
    // A picture that cannot be read is reported; the editor starts anyway.
    if (request.file)
        krt::RunGuarded([&] { mainWindow.Files().OpenFile(*request.file); });
    const int result = app.exec();
    if (request.saveLayout)
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
        return RunEditor(app, ReadArguments(argc, argv));
    } catch (const std::exception& e) {
        // The editor could not start: say why, and tell the caller it failed.
        krt::ShowErrorMessage(QString::fromUtf8(e.what()));
        return 1;
    }
}
