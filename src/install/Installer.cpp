#include "install/Installer.h"

#include "core/AtomicFile.h"
#include "core/FileReading.h"
#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "install/DesktopEntry.h"

#include <cstdlib>
#include <system_error>

namespace krt {
namespace {

namespace fs = std::filesystem;

constexpr OwnMessage CannotWrite{"Cannot write {1}: {2}", "Не удаётся записать {1}: {2}"};
constexpr OwnMessage CannotRemove{"Cannot remove {1}: {2}", "Не удаётся удалить {1}: {2}"};

// The names every file of the group carries, so that the group is replaced
// and removed as a whole and nothing else is touched.
constexpr const char* Stem = "krtdalmor-krtphoto";

struct GroupPaths {
    fs::path editor, uninstall, help, directory, menu, icon;
};

GroupPaths Paths(const DesktopFolders& folders)
{
    const fs::path applications = folders.dataHome / "applications";
    const std::string stem = Stem;
    return {applications / (stem + ".desktop"),
            applications / (stem + "-uninstall.desktop"),
            applications / (stem + "-help.desktop"),
            folders.dataHome / "desktop-directories" / (stem + ".directory"),
            folders.configHome / "menus" / "applications-merged" / (stem + ".menu"),
            folders.dataHome / "icons" / "hicolor" / "128x128" / "apps" / (stem + ".png")};
}

fs::path XdgFolder(const char* variable, const char* fallback)
{
    if (const char* value = std::getenv(variable); value && *value == '/')
        return value;
    const char* home = std::getenv("HOME");
    return fs::path(home && *home ? home : "/tmp") / fallback;
}

void WriteText(const fs::path& file, const std::string& text)
{
    try {
        WriteWholeFile(file.string(), text);
    } catch (const std::exception& e) {
        throw KrtError(Say(CannotWrite, {file.string(), e.what()}));
    }
}

void WriteIfMissing(const fs::path& file, const std::string& text)
{
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(file, ec)))
        WriteText(file, text);
}

} // namespace

DesktopFolders DesktopFolders::FromEnvironment()
{
    return {XdgFolder("XDG_DATA_HOME", ".local/share"), XdgFolder("XDG_CONFIG_HOME", ".config")};
}

std::vector<fs::path> GroupFiles(const DesktopFolders& folders)
{
    const GroupPaths p = Paths(folders);
    return {p.editor, p.uninstall, p.help, p.directory, p.menu, p.icon};
}

void Install(const InstallRequest& request, const DesktopFolders& folders)
{
    const bool russian = request.language == Language::Russian;
    WriteText(request.userFolder / "krtphoto.lng", russian ? "Russian\r\n" : "English\r\n");
    WriteIfMissing(request.userFolder / "ueffect.prg", "0\r\n");
    WriteIfMissing(request.userFolder / "ufilter.prg", "0\r\n");

    // Each file of the group replaces its namesake of an earlier install in
    // one step, so a failure half way never leaves the menu without a group.
    const GroupPaths p = Paths(folders);
    const std::string program = request.program.string();
    const std::string icon = Stem;
    WriteText(p.editor, DesktopEntryText({"Dalmor's Photo Editor 4.4",
                                          "Paint, retouch and warp pictures with formulas",
                                          {program, "%f"},
                                          icon,
                                          {"image/bmp", "image/jpeg", "image/gif", "image/png", "image/webp",
                                           "image/tiff", "image/heic", "image/heif", "image/avif"},
                                          {"Graphics", "2DGraphics", "RasterGraphics"}}));
    WriteText(
        p.uninstall,
        DesktopEntryText(
            {"Uninstall", "Remove KRT Dalmor's Photo Editor from this menu", {program, "-uninstall"}, icon, {}, {}}));
    const fs::path help = request.programData / (russian ? "krtphoto.html" : "krtphote.html");
    WriteText(p.help, DesktopEntryText(
                          {"Dalmor's Photo Editor HELP", "", {"xdg-open", help.string()}, "help-browser", {}, {}}));
    WriteText(p.directory, DirectoryEntryText(GroupName, icon));
    WriteText(p.menu, MenuFileText(
                          Stem, p.directory.filename().string(),
                          {p.editor.filename().string(), p.uninstall.filename().string(), p.help.filename().string()}));
    // The icon is a nicety: without it (a program without its data) the
    // desktop shows its own.
    std::string iconBytes;
    try {
        iconBytes = ReadTextFile((request.programData / "krtphoto.png").string(), 4 << 20);
    } catch (const std::exception&) {
        std::error_code ignored;
        fs::remove(p.icon, ignored); // no stale icon of an earlier install
        return;
    }
    WriteText(p.icon, iconBytes);
}

std::vector<fs::path> Uninstall(const DesktopFolders& folders)
{
    std::vector<fs::path> removed;
    for (const fs::path& file : GroupFiles(folders)) {
        std::error_code ec;
        if (fs::remove(file, ec))
            removed.push_back(file);
        else if (ec)
            throw KrtError(Say(CannotRemove, {file.string(), ec.message()}));
    }
    return removed;
}

fs::path RunningProgram()
{
    std::error_code ec;
    fs::path self = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path("krtphoto") : self;
}

} // namespace krt
