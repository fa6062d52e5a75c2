// KRT Dalmor's Photo Editor: start-up, event loop and shut-down.

#include "app/LayoutFile.h"
#include "app/ui/CaptionApplier.h"
#include "app/ui/KrtApplication.h"
#include "app/ui/MainWindow.h"
#include "app/ui/QtTranslations.h"
#include "core/DataPaths.h"
#include "core/OwnMessages.h"
#include "core/ui/RunGuarded.h"
#include "deform/ui/DeformationMenu.h"
#include "document/Editor.h"
#include "effects/ui/FilterMenu.h"
#include "install/ui/InstallWindow.h"
#include "lang/CaptionTables.h"
#include "lang/Language.h"
#include "recovery/RecoveryStore.h"
#include "recovery/ui/RecoveryWatch.h"
#include "recovery/ui/RestoreQuestion.h"

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
    if (!krt::UseQtTexts(language))
        std::fputs("krtphoto: Qt's Russian texts (qtbase_ru.qm) are not installed; its standard buttons stay English\n",
                   stderr);

    krt::Editor editor(language, paths);
    // The recovery folder outlives the main window, whose watch writes there
    // until its last task (removing the copy at exit) is done.
    krt::RecoveryStore recoveryStore(krt::StateFolder() / "recovery");
    krt::TForm1 mainWindow(editor);

    const std::string layoutFile = (krt::ConfigFolder() / "krtphed.ini").string();
    mainWindow.ApplyWindowLayout(krt::LoadWindowLayout(layoutFile));
    mainWindow.FinishStartUp();
    const auto table = krt::CaptionTable(language);
    krt::ApplyMessageEntries(table, editor.Messages);
    krt::ApplyCaptions(table, mainWindow.Windows());

    // Pictures left unsaved by an editor that died are offered before anything
    // else; one the user restores becomes the document instead of a picture
    // named on the command line.
    std::optional<krt::RestoredCopy> restored;
    krt::RunGuarded([&] { restored = krt::OfferRecovery(recoveryStore); });
    mainWindow.KeepRecoveryCopies(recoveryStore);
    if (restored) {
        krt::RunGuarded([&] {
            mainWindow.Files().RestoreDocument(std::move(restored->picture), restored->copy.fileName,
                                               restored->copy.jpegQuality, restored->copy.title,
                                               std::move(restored->copy.exif));
            mainWindow.Recovery()->Adopted();
        });
    }

    mainWindow.show();
    // A built-in library that could not be read, and a user library that could
    // not be read whole (it will not be rewritten until it is mended), are
    // reported once.
    for (const krt::LibraryTable* library : std::initializer_list<const krt::LibraryTable*>{
             &mainWindow.Deformations().Table(), &mainWindow.Filters().Table()})
        for (const std::string& problem : library->StartUpProblems())
            krt::ShowErrorMessage(QString::fromStdString(problem));
    // A picture that cannot be read is reported; the editor starts anyway.
    if (request.file && !restored)
        krt::RunGuarded([&] { mainWindow.Files().OpenFile(*request.file); });
    const int result = app.exec();
    // The windows are gone: a layout that cannot be written (a special file,
    // a full disk) is told on standard error and the editor still ends.
    if (request.saveLayout) {
        try {
            krt::SaveWindowLayout(layoutFile, mainWindow.CurrentWindowLayout());
        } catch (const std::exception& e) {
            std::fprintf(stderr, "krtphoto: %s\n", e.what());
        }
    }
    return result;
}

const char* const Help = "Usage: krtphoto [PICTURE]\n"
                         "       krtphoto -install\n"
                         "       krtphoto -uninstall\n"
                         "\n"
                         "Starts KRT Dalmor's Photo Editor, with PICTURE (BMP, JPEG, GIF or PNG) as the\n"
                         "document when one is named.\n"
                         "\n"
                         "  -install    asks for the interface language, writes it to the user folder,\n"
                         "              creates your empty deformation and filter libraries where there\n"
                         "              are none, and puts the editor, its help and \"Uninstall\" in a\n"
                         "              \"KRT Dalmor's Photo Editor\" group of your desktop's application\n"
                         "              menu (replacing an earlier one); the editor's entry offers to open\n"
                         "              pictures from file managers. Ends about five seconds after OK.\n"
                         "  -uninstall  asks \"Uninstall?\" and on Yes removes that group and its icon;\n"
                         "              your language file and libraries stay.\n"
                         "\n"
                         "Exit status: the editor 0, or 1 when it could not start; -install 1 when\n"
                         "installed (as setup programs expect), 2 when it failed; -uninstall 0 when\n"
                         "removed, 1 when the answer was not Yes, 2 when it failed.\n";

int RunInstall()
{
    krt::InstallRequest request;
    request.program = krt::RunningProgram();
    const krt::DataPaths paths = krt::DataPaths::FromEnvironment();
    request.programData = paths.programFolder;
    request.userFolder = paths.userFolder;
    krt::TINSTALL window(request, krt::DesktopFolders::FromEnvironment());
    window.show();
    return QCoreApplication::exec();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(Help, stdout);
        return 0;
    }
    krt::KrtApplication app(argc, argv);
    // Installing and uninstalling create no other window and read no
    // language or layout file.
    if (argc > 1 && std::strcmp(argv[1], "-install") == 0)
        return RunInstall();
    if (argc > 1 && std::strcmp(argv[1], "-uninstall") == 0)
        return krt::RunUninstall(krt::DesktopFolders::FromEnvironment());
    try {
        return RunEditor(app, ReadArguments(argc, argv));
    } catch (const std::exception& e) {
        // The editor could not start: say why, and tell the caller it failed.
        krt::ShowErrorMessage(QString::fromUtf8(e.what()));
        return 1;
    }
}
