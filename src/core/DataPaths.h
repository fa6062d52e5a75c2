#pragma once

#include <filesystem>
#include <string>

namespace krt {

// Where the files that the editor names by bare name live.
//  - The user's folder holds what the user owns and the program writes: the
//    language file and the user libraries. It is $KRTPHOTO_HOME when set, else
//    $XDG_DATA_HOME/krtphoto (by default ~/.local/share/krtphoto).
//  - The program's folder holds the read-only built-in libraries and help:
//    $KRTPHOTO_DATA when set, else share/krtphoto beside the installed program,
//    else the source tree's data folder when run from the build tree.
struct DataPaths {
    std::filesystem::path userFolder;
    std::filesystem::path programFolder;

    std::string User(const std::string& bareName) const { return (userFolder / bareName).string(); }
    std::string Program(const std::string& bareName) const { return (programFolder / bareName).string(); }

    // The folders of this process's environment.
    static DataPaths FromEnvironment();
};

// The folder for the window layout file: $XDG_CONFIG_HOME/krtphoto (by
// default ~/.config/krtphoto).
std::filesystem::path ConfigFolder();

// The folder for state the editor keeps between runs (recovery copies):
// $XDG_STATE_HOME/krtphoto when that variable holds an absolute path, else
// ~/.local/state/krtphoto.
std::filesystem::path StateFolder();

// Creates the user's folder when missing, with an English language file and
// empty user libraries. Existing files are never touched. Throws KrtError when
// the folder cannot be made.
void PrepareUserFolder(const std::filesystem::path& folder);

} // namespace krt
