#include "core/KrtError.h"
#include "deform/DeformationRecord.h"
#include "deform/DeformationTable.h"
#include "lang/CaptionTables.h"
#include "library/LibraryFile.h"
#include "library/LibraryTable.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace krt {
namespace {

using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

std::string Text(const std::vector<std::uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(LibraryFile, ReadsEitherLineEndAndKeepsAnUnterminatedLastLine)
{
    TempFolder folder;
    struct Case {
        const char* content;
        std::vector<std::string> records;
        bool problems;
    };
    const Case cases[] = {
        {"2\r\nfirst\r\nsecond\r\n", {"first", "second"}, false},
        {"2\nfirst\nsecond\n", {"first", "second"}, false},
        {"2\r\nfirst\r\nsecond", {"first", "second"}, false}, // the last character is kept
        {"1\r\nonly\r\nignored after the count\r\n", {"only"}, false},
        {"0\r\n", {}, false},
        {"3\r\na\r\nb\r\n", {"a", "b"}, true}, // ends early
        {"128\r\nx\r\n", {}, true},            // more than a library holds
        {"two\r\nx\r\n", {}, true},
        {"2\r\nfirst\r\nsecond\r", {"first", "second"}, false}, // a CR closing the file
        {"", {}, false},                                        // an empty library
        {" \r\n", {}, false},
        {"2\r\n\r\nx\r\n", {"", "x"}, false}, // an empty record is a record
    };
    for (const Case& c : cases) {
        WriteBytes(folder.Path("lib.prg"), c.content);
        const LibraryContents contents = ReadLibraryFile(folder.Path("lib.prg").string());
        EXPECT_EQ(contents.records, c.records) << c.content;
        EXPECT_EQ(!contents.problems.empty(), c.problems) << c.content;
    }
    const LibraryContents missing = ReadLibraryFile(folder.Path("none.prg").string());
    EXPECT_TRUE(missing.records.empty());
    ASSERT_EQ(missing.problems.size(), 1u);
}

TEST(LibraryFile, LongLinesAreLeftOutNotSplit)
{
    TempFolder folder;
    WriteBytes(folder.Path("lib.prg"), "3\r\n" + std::string(198, 'a') + "\r\n" + std::string(199, 'b') + "\r\nc\r\n");
    const LibraryContents contents = ReadLibraryFile(folder.Path("lib.prg").string());
    ASSERT_EQ(contents.records.size(), 2u);
    EXPECT_EQ(contents.records[0].size(), 198u);
    EXPECT_EQ(contents.records[1], "c");
    EXPECT_EQ(contents.problems.size(), 1u);
}

TEST(LibraryFile, StoresWindows1251WithCrLf)
{
    TempFolder folder;
    const std::string path = folder.Path("u.prg").string();
    WriteLibraryFile(path, {"Волна|x", "Wave|y"});
    EXPECT_EQ(Text(ReadBytes(path)), "2\r\n\xC2\xEE\xEB\xED\xE0|x\r\nWave|y\r\n");
    EXPECT_EQ(ReadLibraryFile(path).records, (std::vector<std::string>{"Волна|x", "Wave|y"}));
    EXPECT_THROW(WriteLibraryFile(path, {"emoji \xF0\x9F\x98\x80|x"}), KrtError);
    EXPECT_THROW(WriteLibraryFile(path, {"two\nlines"}), KrtError);
    EXPECT_THROW(WriteLibraryFile(path, {std::string(199, 'x')}), KrtError);
    EXPECT_EQ(ReadLibraryFile(path).records.size(), 2u) << "a refused save leaves the old file";
}

TEST(DeformationRecord, ParsesAndBuildsTheLine)
{
    const std::string line = "Wave|Amp1^10^0^0^0^0^0^0^0^0^0^0^11x+a*sin(y/10)|y";
    const DeformationRecord r = ParseRecord(line);
    EXPECT_EQ(r.name, "Wave");
    EXPECT_EQ(r.constants[0].label, "Amp");
    EXPECT_TRUE(r.constants[0].used);
    EXPECT_EQ(r.constants[0].defaultValue, 10);
    EXPECT_FALSE(r.constants[1].used);
    EXPECT_EQ(r.constants[1].label, "");
    EXPECT_TRUE(r.cartesian);
    EXPECT_TRUE(r.source);
    EXPECT_EQ(r.firstFormula, "x+a*sin(y/10)");
    EXPECT_EQ(r.secondFormula, "y");
    EXPECT_EQ(BuildRecord(r), line);
    EXPECT_EQ(RecordName(line), "Wave");
}

TEST(DeformationRecord, OddLines)
{
    // A bar in the name: the rest of the name goes into the first label.
    DeformationRecord r = ParseRecord("A|B1^5^0^0^0^0^0^0^0^0^0^0^02t|r");
    EXPECT_EQ(r.name, "A");
    EXPECT_EQ(r.constants[0].label, "B");
    EXPECT_FALSE(r.cartesian);
    EXPECT_FALSE(r.source) << "any character but 1 means target coordinates";
    EXPECT_EQ(RecordName("no bar here"), "");
    EXPECT_EQ(ParseRecord("N|x1^200^0^0^0^0^0^0^0^0^0^0^11x|y").constants[0].defaultValue, 100);
    // A line without a bar has no name; the whole line is the rest.
    r = ParseRecord("a1^5^0^0^0^0^0^0^0^0^0^0^11x");
    EXPECT_EQ(r.name, "");
    EXPECT_EQ(r.constants[0].defaultValue, 5);
    EXPECT_EQ(r.firstFormula, "x");
    EXPECT_EQ(ParseRecord("N|x1^ 7 ^0^0^0^0^0^0^0^0^0^0^11x|y").constants[0].defaultValue, 7)
        << "blanks around a default";
    EXPECT_THROW(ParseRecord("Bad|a1^ten^0^0^0^0^0^0^0^0^0^0^11x|y"), KrtError);
    EXPECT_THROW(ParseRecord("Short|a1^1^0^0^11x|y"), KrtError);
}

TEST(DeformationRecord, TheEditorsFieldsMakeARecord)
{
    DeformationEditorFields identity;
    identity.name = "Test";
    EXPECT_EQ(BuildDeformationRecord(identity), "Test|0^0^0^0^0^0^0^0^0^0^0^0^11x|y");

    DeformationEditorFields wave;
    wave.name = "Wave";
    wave.constants[0] = {"Amp", true, "10"};
    wave.constants[1] = {"", false, "5 "};
    wave.x = " X+A*SIN(Y/10) ";
    EXPECT_EQ(BuildDeformationRecord(wave), "Wave|Amp1^10^0^5^0^0^0^0^0^0^0^0^11x+a*sin(y/10)|y");

    DeformationEditorFields polar;
    polar.name = "Spin";
    polar.cartesian = false;
    polar.source = false;
    polar.t = "T+a";
    polar.x = "ignored";
    EXPECT_EQ(BuildDeformationRecord(polar), "Spin|0^0^0^0^0^0^0^0^0^0^0^0^00t+a|r");
    EXPECT_EQ(ParseRecord(BuildDeformationRecord(wave)).constants[1].defaultValue, 5);
}

TEST(DeformationRecord, TheCreateByStringTemplateIsAnIdentityRecord)
{
    for (Language language : {Language::Russian, Language::English}) {
        Messages messages;
        ApplyMessageEntries(CaptionTable(language), messages);
        const DeformationRecord r = ParseRecord(messages.MsgNewByStringDefault);
        EXPECT_TRUE(r.cartesian);
        EXPECT_TRUE(r.source);
        EXPECT_EQ(r.firstFormula, "x");
        EXPECT_EQ(r.secondFormula, "y");
    }
}

TEST(DeformationTable, LoadAddDelete)
{
    TempFolder folder;
    const std::string builtin = folder.Path("effecte.prg").string();
    const std::string user = folder.Path("ueffect.prg").string();
    WriteBytes(builtin, "2\r\nOne|x\r\nTwo|y\r\n");
    WriteBytes(user, "0\r\n");
    DeformationTable table(builtin, user);
    EXPECT_TRUE(table.LoadDeformationMenu().empty());
    EXPECT_EQ(table.DeformationCount(), 2);
    EXPECT_EQ(table.BuiltinDeformationCount(), 2);

    table.AddDeformation("Mine|z");
    table.AddDeformation("Also mine|w");
    EXPECT_EQ(Text(ReadBytes(user)), "2\r\nMine|z\r\nAlso mine|w\r\n");
    EXPECT_EQ(table.Record(3), "Also mine|w");
    EXPECT_THROW(table.DeleteDeformation(1), KrtError) << "built-in records stay";
    table.DeleteDeformation(2);
    EXPECT_EQ(table.UserRecords(), (std::vector<std::string>{"Also mine|w"}));
    table.DeleteDeformation(2);
    EXPECT_EQ(Text(ReadBytes(user)), "0\r\n");

    DeformationTable reloaded(builtin, user);
    reloaded.LoadDeformationMenu();
    EXPECT_EQ(reloaded.DeformationCount(), 2);
}

TEST(DeformationTable, LimitsAreRefusedWithAMessage)
{
    TempFolder folder;
    const std::string builtin = folder.Path("effecte.prg").string();
    const std::string user = folder.Path("ueffect.prg").string();
    std::string lines = "120\r\n";
    for (int i = 0; i < 120; ++i)
        lines += "B" + std::to_string(i) + "|x\r\n";
    WriteBytes(builtin, lines);
    WriteBytes(user, "0\r\n");
    DeformationTable table(builtin, user);
    table.LoadDeformationMenu();
    for (int i = 0; i < 80; ++i)
        table.AddDeformation("U" + std::to_string(i) + "|y");
    EXPECT_EQ(table.DeformationCount(), 200);
    EXPECT_THROW(table.AddDeformation("one too many|x"), KrtError);
    EXPECT_EQ(table.DeformationCount(), 200);
    EXPECT_EQ(ReadLibraryFile(user).records.size(), 80u);
    EXPECT_THROW(table.AddDeformation(std::string(199, 'x')), KrtError);

    // A missing user library gives the built-in records and a message.
    DeformationTable noUser(builtin, folder.Path("missing.prg").string());
    EXPECT_EQ(noUser.LoadDeformationMenu().size(), 1u);
    EXPECT_EQ(noUser.DeformationCount(), 120);
}

} // namespace
} // namespace krt
