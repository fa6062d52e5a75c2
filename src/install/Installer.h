#pragma once

#include "lang/Language.h"

#include <filesystem>
#include <string>
#include <vector>

namespace krt {

// Where the desktop keeps a user's menu: $XDG_DATA_HOME (else
// ~/.local/share) for entries, menu directories and icons, $XDG_CONFIG_HOME
// (else ~/.config) for menu files.
struct DesktopFolders {
    std::filesystem::path dataHome;
    std::filesystem::path configHome;
    static DesktopFolders FromEnvironment();
};

// What an installation needs to know.
struct InstallRequest {
    Language language = Language::English;
    std::filesystem::path program;     // the editor's executable
    std::filesystem::path programData; // its help files and icon
    std::filesystem::path userFolder;  // the language file and the user libraries
};

// The name of the group in the desktop's menu.
inline constexpr const char* GroupName = "KRT Dalmor's Photo Editor";

// Every file the group consists of: the three entries (the editor, which
// opens BMP, JPEG, GIF and PNG pictures passed to it; "Uninstall"; the help
// of the chosen language), the menu directory, the menu file and the icon.
std::vector<std::filesystem::path> GroupFiles(const DesktopFolders& folders);

// Writes the language file (always), an empty deformation and filter library
// where none exists (existing ones are never touched), and the group in
// place of any earlier one. Throws KrtError naming the file that could not be
// written; what was written before stays.
void Install(const InstallRequest& request, const DesktopFolders& folders);

// Removes the group's files and nothing else (the language file and the
// user's libraries stay); returns those that were there. Throws KrtError for
// a file that exists but cannot be removed.
std::vector<std::filesystem::path> Uninstall(const DesktopFolders& folders);

// The running program's own file.
std::filesystem::path RunningProgram();

} // namespace krt
