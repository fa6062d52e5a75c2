#include "lang/Language.h"
#include "lang/CaptionTables.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace krt {
namespace {

TEST(LoadLanguage, OnlyAnUpperCaseRFirstSelectsRussian)
{
    struct Case {
        const char* content;
        Language expected;
    };
    const Case cases[] = {
        {"Russian\r\n", Language::Russian},
        {"Russian", Language::Russian}, // no newline
        {"English\r\n", Language::English},
        {"russian\n", Language::English},
        {" Russian\n", Language::English},
        {"", Language::English},
        {"\nRussian\n", Language::English},
        {"Rxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\n", Language::Russian}, // longer than 19 characters
        {"Ру\n", Language::English},
    };
    test::TempFolder folder;
    for (const Case& c : cases) {
        test::WriteBytes(folder.Path("krtphoto.lng"), c.content);
        EXPECT_EQ(LoadLanguage(folder.Path("krtphoto.lng").string()), c.expected) << '"' << c.content << '"';
    }
    EXPECT_EQ(LoadLanguage(folder.Path("missing.lng").string()), Language::English);
}

TEST(CaptionTables, StartWithTheFourteenMessages)
{
    for (Language language : {Language::Russian, Language::English}) {
        const auto table = CaptionTable(language);
        ASSERT_GE(table.size(), 14u);
        for (std::size_t i = 0; i < table.size(); ++i)
            EXPECT_EQ(table[i].property == CaptionProperty::Message, i < 14) << "entry " << i;
        Messages messages;
        ApplyMessageEntries(table, messages);
        for (const char* name :
             {"MsgSource", "MsgDestination", "MsgIncorrectFormula", "MsgDistortion", "MsgSaveFile",
              "MsgClipboardLarger", "MsgJpegQualityTitle", "MsgJpegQualityPrompt", "MsgNewByStringTitle",
              "MsgNewByStringPrompt", "MsgTextTooWide", "MsgTextTooHigh", "MsgNameNoBar", "MsgNewByStringDefault"})
            EXPECT_FALSE(messages.Find(name)->empty()) << name;
    }
}

TEST(CaptionTables, MessagesKeepTheirExactTexts)
{
    Messages ru, en;
    ApplyMessageEntries(CaptionTable(Language::Russian), ru);
    ApplyMessageEntries(CaptionTable(Language::English), en);
    EXPECT_EQ(en.MsgIncorrectFormula, "Incorrect formula ");
    EXPECT_EQ(ru.MsgIncorrectFormula, "Некорректная формула ");
    EXPECT_EQ(en.MsgSource, "Source: ");
    EXPECT_EQ(ru.MsgDestination, "Цель: ");
    EXPECT_EQ(en.MsgSaveFile, "Save?");
    EXPECT_EQ(en.MsgNewByStringDefault, "New filter|a0^0^b0^0^c0^0^d0^0^e0^0^f0^0^11x|y") << "both flags";
    EXPECT_EQ(ru.MsgNameNoBar, "Название фильтра не должно содержать знака |");
}

TEST(CaptionTables, BothLanguagesCaptionTheSameThirtyNineMenuItems)
{
    std::map<std::string, std::string> ru, en;
    for (const CaptionEntry& e : CaptionTable(Language::Russian))
        if (std::string(e.window) == "TForm1")
            ru[e.control] = e.text;
    for (const CaptionEntry& e : CaptionTable(Language::English))
        if (std::string(e.window) == "TForm1")
            en[e.control] = e.text;
    EXPECT_EQ(ru.size(), 39u);
    EXPECT_EQ(en.size(), 39u);
    for (const auto& [control, text] : ru)
        EXPECT_TRUE(en.count(control)) << control;
    EXPECT_EQ(ru["N22"], "&Новый");
    EXPECT_EQ(en["N4"], "S&ave, as ...");
    EXPECT_EQ(en["N20"], "Se&lect scaner source");
    EXPECT_EQ(ru["N25"], "&Гамма корреция");
}

} // namespace
} // namespace krt
