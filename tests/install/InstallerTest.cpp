#include "install/Installer.h"
#include "core/KrtError.h"
#include "install/DesktopEntry.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace krt {
namespace {

namespace fs = std::filesystem;

std::string Text(const fs::path& file)
{
    const auto bytes = test::ReadBytes(file);
    return std::string(bytes.begin(), bytes.end());
}

struct Machine {
    test::TempFolder root;
    DesktopFolders folders{root.Path("data"), root.Path("config")};
    InstallRequest Request(Language language) const
    {
        return {language, root.Path("my programs/krtphoto"), KRT_SOURCE_DATA_DIR, root.Path("home")};
    }
};

TEST(DesktopEntries, ExecArgumentsAreQuotedAndEscapedAsTheFormatAsks)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/usr/bin/krtphoto", "/usr/bin/krtphoto"},
        {"/opt/my programs/krtphoto", "\"/opt/my programs/krtphoto\""},
        {"/opt/a\"b", "\"/opt/a\\\"b\""},
        {"/opt/$HOME`x`", "\"/opt/\\$HOME\\`x\\`\""},
        {"/opt/back\\slash", "\"/opt/back\\\\slash\""},
        {"/opt/100%", "/opt/100%%"},
        {"%f", "%f"},
        {"", "\"\""},
        {"-uninstall", "-uninstall"},
    };
    for (const auto& [argument, want] : cases)
        EXPECT_EQ(ExecArgument(argument), want) << argument;
    // In the file, the string escapes come on top: each backslash doubles.
    const std::string entry = DesktopEntryText({"N", "", {"/opt/back\\slash", "%f"}, "", {}, {}});
    EXPECT_NE(entry.find("Exec=\"/opt/back\\\\\\\\slash\" %f\n"), std::string::npos) << entry;
}

TEST(Installer, TwoInstallsLeaveOneGroupWithTheSecondLanguageAndTheUsersLibraries)
{
    Machine m;
    fs::create_directories(m.root.Path("home"));
    test::WriteBytes(m.root.Path("home/ufilter.prg"), "1\r\nMine|0,0,0,0,1,0,0,0,0,1\r\n");
    Install(m.Request(Language::Russian), m.folders);
    EXPECT_EQ(Text(m.root.Path("home/krtphoto.lng")), "Russian\r\n");
    EXPECT_NE(Text(m.root.Path("data/applications/krtdalmor-krtphoto-help.desktop")).find("krtphoto.html"),
              std::string::npos);
    Install(m.Request(Language::English), m.folders);
    EXPECT_EQ(Text(m.root.Path("home/krtphoto.lng")), "English\r\n");
    EXPECT_EQ(Text(m.root.Path("home/ufilter.prg")), "1\r\nMine|0,0,0,0,1,0,0,0,0,1\r\n");
    EXPECT_EQ(Text(m.root.Path("home/ueffect.prg")), "0\r\n");

    int entries = 0;
    for (const auto& file : fs::directory_iterator(m.root.Path("data/applications")))
        entries += file.path().extension() == ".desktop";
    EXPECT_EQ(entries, 3);
    for (const fs::path& file : GroupFiles(m.folders))
        EXPECT_TRUE(fs::is_regular_file(file)) << file;
    const std::string help = Text(m.root.Path("data/applications/krtdalmor-krtphoto-help.desktop"));
    EXPECT_NE(help.find("krtphote.html"), std::string::npos) << help;
    EXPECT_EQ(help.find("krtphoto.html"), std::string::npos) << help;

    const std::string editor = Text(m.root.Path("data/applications/krtdalmor-krtphoto.desktop"));
    EXPECT_NE(editor.find("Name=Dalmor's Photo Editor 4.4\n"), std::string::npos);
    EXPECT_NE(editor.find("Exec=\"" + m.root.Path("my programs/krtphoto").string() + "\" %f\n"), std::string::npos)
        << editor;
    EXPECT_NE(editor.find("MimeType=image/bmp;image/jpeg;image/gif;image/png;image/webp;image/tiff;image/heic;image/"
                          "heif;image/avif;\n"),
              std::string::npos);
    EXPECT_NE(Text(m.root.Path("data/applications/krtdalmor-krtphoto-uninstall.desktop")).find(" -uninstall\n"),
              std::string::npos);
    const std::string menu = Text(m.root.Path("config/menus/applications-merged/krtdalmor-krtphoto.menu"));
    EXPECT_NE(menu.find("<Directory>krtdalmor-krtphoto.directory</Directory>"), std::string::npos);
    EXPECT_NE(Text(m.root.Path("data/desktop-directories/krtdalmor-krtphoto.directory"))
                  .find("Name=KRT Dalmor's Photo Editor\n"),
              std::string::npos);
    EXPECT_EQ(test::ReadBytes(m.root.Path("data/icons/hicolor/128x128/apps/krtdalmor-krtphoto.png")),
              test::ReadBytes(fs::path(KRT_SOURCE_DATA_DIR) / "krtphoto.png"));
}

TEST(Installer, TheEntriesPassTheDesktopFileValidator)
{
    if (std::system("command -v desktop-file-validate >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "desktop-file-validate (desktop-file-utils) is not installed; scripts/setup installs it.";
    Machine m;
    Install(m.Request(Language::English), m.folders);
    for (const char* name :
         {"applications/krtdalmor-krtphoto.desktop", "applications/krtdalmor-krtphoto-uninstall.desktop",
          "applications/krtdalmor-krtphoto-help.desktop", "desktop-directories/krtdalmor-krtphoto.directory"}) {
        const std::string command = "desktop-file-validate '" + m.root.Path("data").string() + "/" + name + "' 2>&1";
        std::FILE* pipe = popen(command.c_str(), "r");
        ASSERT_TRUE(pipe);
        std::string output;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        const int status = pclose(pipe);
        EXPECT_EQ(status, 0) << name << ": " << output;
        EXPECT_EQ(output.find("error"), std::string::npos) << name << ": " << output;
    }
}

TEST(Installer, UninstallRemovesItsOwnFilesAndNothingElse)
{
    Machine m;
    Install(m.Request(Language::English), m.folders);
    test::WriteBytes(m.root.Path("data/applications/someone-else.desktop"), "[Desktop Entry]\n");
    const auto removed = Uninstall(m.folders);
    EXPECT_EQ(removed.size(), GroupFiles(m.folders).size());
    for (const fs::path& file : GroupFiles(m.folders))
        EXPECT_FALSE(fs::exists(file)) << file;
    EXPECT_TRUE(fs::exists(m.root.Path("data/applications/someone-else.desktop")));
    for (const char* kept : {"krtphoto.lng", "ueffect.prg", "ufilter.prg"})
        EXPECT_TRUE(fs::exists(m.root.Path("home") / kept)) << kept;
    EXPECT_TRUE(Uninstall(m.folders).empty()) << "a second uninstall finds nothing to do";
}

TEST(Installer, AFileThatCannotBeWrittenIsNamed)
{
    Machine m;
    test::WriteBytes(m.root.Path("home"), "a file where the user folder should be");
    try {
        Install(m.Request(Language::English), m.folders);
        FAIL() << "the install went on";
    } catch (const KrtError& e) {
        EXPECT_NE(std::string(e.what()).find(m.root.Path("home/krtphoto.lng").string()), std::string::npos) << e.what();
    }
    EXPECT_FALSE(fs::exists(m.root.Path("data/applications"))) << "nothing of the group is written";
}

} // namespace
} // namespace krt
