#include "core/DataPaths.h"

#include "core/KrtError.h"
#include "core/OwnMessages.h"

#include <cstdlib>
#include <fstream>
#include <system_error>

#ifndef KRT_SOURCE_DATA_DIR
#define KRT_SOURCE_DATA_DIR ""
#endif

namespace krt {
namespace {

constexpr OwnMessage NoUserFolder{"Cannot create the folder \"{1}\" for the editor's own files.",
                                  "Не удаётся создать папку \"{1}\" для файлов редактора."};

} // namespace
namespace {

std::filesystem::path Env(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? std::filesystem::path(value) : std::filesystem::path();
}

std::filesystem::path Home()
{
    std::filesystem::path home = Env("HOME");
    return home.empty() ? std::filesystem::path("/tmp") : home;
}

std::filesystem::path ProgramFolder()
{
    if (auto explicitFolder = Env("KRTPHOTO_DATA"); !explicitFolder.empty())
        return explicitFolder;
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const auto installed = exe.parent_path().parent_path() / "share" / "krtphoto";
        if (std::filesystem::is_directory(installed, ec))
            return installed;
    }
    return std::filesystem::path(KRT_SOURCE_DATA_DIR);
}

void WriteIfMissing(const std::filesystem::path& file, const char* text)
{
    std::error_code ec;
    if (std::filesystem::exists(file, ec))
        return;
    std::ofstream out(file, std::ios::binary);
    out << text;
}

} // namespace

DataPaths DataPaths::FromEnvironment()
{
    DataPaths paths;
    if (auto home = Env("KRTPHOTO_HOME"); !home.empty()) {
        paths.userFolder = home;
    } else {
        auto data = Env("XDG_DATA_HOME");
        paths.userFolder = (data.empty() ? Home() / ".local" / "share" : data) / "krtphoto";
    }
    paths.programFolder = ProgramFolder();
    return paths;
}

std::filesystem::path ConfigFolder()
{
    auto config = Env("XDG_CONFIG_HOME");
    return (config.empty() ? Home() / ".config" : config) / "krtphoto";
}

std::filesystem::path StateFolder()
{
    const auto state = Env("XDG_STATE_HOME");
    return (state.is_absolute() ? state : Home() / ".local" / "state") / "krtphoto";
}

void PrepareUserFolder(const std::filesystem::path& folder)
{
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (!std::filesystem::is_directory(folder, ec))
        throw KrtError(Say(NoUserFolder, {folder.string()}));
    WriteIfMissing(folder / "krtphoto.lng", "English\r\n");
    WriteIfMissing(folder / "ueffect.prg", "0\r\n");
    WriteIfMissing(folder / "ufilter.prg", "0\r\n");
}

} // namespace krt
