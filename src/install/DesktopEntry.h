#pragma once

#include <string>
#include <vector>

namespace krt {

// One freedesktop desktop entry (a ".desktop" file) of the editor's menu group.
struct DesktopEntry {
    std::string name;
    std::string comment;
    std::vector<std::string> command; // the program and its arguments; "%f" stays a field code
    std::string icon;
    std::vector<std::string> mimeTypes;
    std::vector<std::string> categories;
};

// An argument of an Exec line: quoted when it is empty or holds a blank or a
// character the format reserves, and then with its backslashes, double
// quotes, dollars and backquotes escaped; "%" doubled. A field code ("%f",
// "%F", "%u", "%U") is passed as it stands.
std::string ExecArgument(const std::string& argument);

// The text of a desktop entry of type Application.
std::string DesktopEntryText(const DesktopEntry& entry);

// The text of a menu directory entry (".directory") of that name and icon.
std::string DirectoryEntryText(const std::string& name, const std::string& icon);

// A menu file that gathers the named entries under the named directory in the
// desktop's Applications menu, as xdg-desktop-menu writes them.
std::string MenuFileText(const std::string& menuName, const std::string& directoryFile,
                         const std::vector<std::string>& entryFiles);

} // namespace krt
