#include "library/LibraryTable.h"
#include "core/KrtError.h"
#include "library/LibraryFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace krt {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::string Text(const std::filesystem::path& file)
{
    const auto bytes = ReadBytes(file);
    return {bytes.begin(), bytes.end()};
}

std::string Records(int count, int firstLength = 0)
{
    std::string lines = std::to_string(count) + "\r\n";
    for (int i = 0; i < count; ++i)
        lines += (i == 0 && firstLength > 0 ? std::string(static_cast<std::size_t>(firstLength), 'L')
                                            : "R" + std::to_string(i)) +
                 "|x\r\n";
    return lines;
}

// A user library the table could not read completely is never rewritten:
// adding and deleting refuse with a message that names the file, and every
// byte stays on disk.
TEST(LibraryTable, AnIncompleteUserLibraryIsNeverRewritten)
{
    struct Case {
        const char* what;
        std::string content;
    };
    const Case cases[] = {
        {"130 records announced", Records(130)},
        {"an over-long record", Records(3, 199)},
        {"a count that is not a number", "three\r\nR0|x\r\n"},
        {"more records than the table holds", Records(120)},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        std::string builtin = "100\r\n";
        for (int i = 0; i < 100; ++i)
            builtin += "B" + std::to_string(i) + "|x\r\n";
        WriteBytes(folder.Path("builtin.prg"), builtin);
        WriteBytes(folder.Path("user.prg"), c.content);
        LibraryTable table(folder.Path("builtin.prg").string(), folder.Path("user.prg").string(), 200,
                           {"things", "вещей"});
        EXPECT_FALSE(table.Load().empty()) << c.what;
        const int count = table.Count();
        try {
            table.Add("New|y");
            ADD_FAILURE() << c.what << ": the addition was not refused";
        } catch (const KrtError& e) {
            EXPECT_NE(std::string(e.what()).find(folder.Path("user.prg").string()), std::string::npos) << e.what();
        }
        if (table.Count() > table.BuiltinCount()) {
            EXPECT_THROW(table.Delete(table.BuiltinCount()), KrtError) << c.what;
        }
        EXPECT_THROW(table.SaveUser(), KrtError) << c.what;
        EXPECT_EQ(table.Count(), count) << c.what;
        EXPECT_EQ(Text(folder.Path("user.prg")), c.content) << c.what;
        EXPECT_FALSE(std::filesystem::exists(folder.Path("user.prg.bak"))) << c.what;
    }
}

TEST(LibraryTable, BlanksAroundTheCountAndLinesAfterTheRecordsSurviveARewrite)
{
    TempFolder folder;
    WriteBytes(folder.Path("builtin.prg"), "0\r\n");
    WriteBytes(folder.Path("user.prg"), " 2 \r\nOne|x\r\nTwo|y\r\nnotes the reader ignores\r\n");
    LibraryTable table(folder.Path("builtin.prg").string(), folder.Path("user.prg").string(), 200, {"things", "вещей"});
    EXPECT_TRUE(table.Load().empty());
    ASSERT_EQ(table.UserRecords(), (std::vector<std::string>{"One|x", "Two|y"}));
    table.Add("Three|z");
    EXPECT_EQ(Text(folder.Path("user.prg")), "3\r\nOne|x\r\nTwo|y\r\nThree|z\r\nnotes the reader ignores\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder.Path("user.prg.bak"))) << "nothing was dropped";
    table.Delete(0);
    EXPECT_EQ(Text(folder.Path("user.prg")), "2\r\nTwo|y\r\nThree|z\r\nnotes the reader ignores\r\n");
    EXPECT_EQ(Text(folder.Path("user.prg.bak")), "3\r\nOne|x\r\nTwo|y\r\nThree|z\r\nnotes the reader ignores\r\n")
        << "a rewrite that drops a record keeps the previous file";
}

// An empty user library (0 bytes, or only a line end) holds nothing to lose:
// the user can add to it.
TEST(LibraryTable, AnEmptyUserLibraryTakesAnAddition)
{
    for (const char* content : {"", "\r\n"}) {
        TempFolder folder;
        WriteBytes(folder.Path("builtin.prg"), "0\r\n");
        WriteBytes(folder.Path("user.prg"), content);
        LibraryTable table(folder.Path("builtin.prg").string(), folder.Path("user.prg").string(), 200,
                           {"things", "вещей"});
        EXPECT_TRUE(table.Load().empty()) << content;
        table.Add("New|y");
        EXPECT_EQ(Text(folder.Path("user.prg")), "1\r\nNew|y\r\n");
    }
}

// At start-up the user hears of a built-in library that gave nothing and of
// a user library that was not read whole; a missing user library is normal.
TEST(LibraryTable, StartUpProblemsNameTheFileThatNeedsMending)
{
    struct Case {
        const char* what;
        const char* builtin; // nullptr: no file
        const char* user;
        const char* named; // the file the one problem names, or nullptr for none
    };
    const Case cases[] = {
        {"both read", "1\r\nB|x\r\n", "1\r\nU|x\r\n", nullptr},
        {"no user library yet", "1\r\nB|x\r\n", nullptr, nullptr},
        {"no built-in library", nullptr, "0\r\n", "builtin.prg"},
        {"a damaged built-in count", "many\r\n", "0\r\n", "builtin.prg"},
        {"a damaged user count", "0\r\n", "many\r\n", "user.prg"},
    };
    for (const Case& c : cases) {
        TempFolder folder;
        if (c.builtin)
            WriteBytes(folder.Path("builtin.prg"), c.builtin);
        if (c.user)
            WriteBytes(folder.Path("user.prg"), c.user);
        LibraryTable table(folder.Path("builtin.prg").string(), folder.Path("user.prg").string(), 200,
                           {"things", "вещей"});
        table.Load();
        const std::vector<std::string> problems = table.StartUpProblems();
        ASSERT_EQ(problems.size(), c.named ? 1u : 0u) << c.what;
        if (c.named) {
            EXPECT_NE(problems[0].find(folder.Path(c.named).string()), std::string::npos)
                << c.what << ": " << problems[0];
        }
    }
}

TEST(LibraryFile, WhatCannotBeReadIsNotComplete)
{
    TempFolder folder;
    std::filesystem::create_directory(folder.Path("a folder.prg"));
    const LibraryContents folderContents = ReadLibraryFile(folder.Path("a folder.prg").string());
    EXPECT_FALSE(folderContents.complete);
    ASSERT_EQ(folderContents.problems.size(), 1u);
    EXPECT_NE(folderContents.problems[0].find("folder"), std::string::npos) << folderContents.problems[0];

    WriteBytes(folder.Path("big.prg"), std::string(MaxLibraryFileBytes + 1, '1'));
    EXPECT_FALSE(ReadLibraryFile(folder.Path("big.prg").string()).complete);

    const LibraryContents missing = ReadLibraryFile(folder.Path("missing.prg").string());
    EXPECT_TRUE(missing.complete) << "a missing library holds nothing to lose";
    EXPECT_EQ(missing.problems.size(), 1u);
}

// The editor's own library messages speak the interface language.
TEST(LibraryFile, ProblemsAreToldInTheInterfaceLanguage)
{
    TempFolder folder;
    WriteBytes(folder.Path("user.prg"), "many\r\n");
    const std::string path = folder.Path("user.prg").string();
    SetMessageLanguage(Language::Russian);
    const LibraryContents russian = ReadLibraryFile(path);
    SetMessageLanguage(Language::English);
    const LibraryContents english = ReadLibraryFile(path);
    ASSERT_EQ(russian.problems.size(), 1u);
    EXPECT_EQ(russian.problems[0], "Библиотека \"" + path + "\" не начинается с числа своих записей.");
    EXPECT_EQ(english.problems[0], "The library \"" + path + "\" does not start with the number of its records.");
}

} // namespace
} // namespace krt
