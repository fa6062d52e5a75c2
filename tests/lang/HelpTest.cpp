// The help of each language names every command of the menu as the menu
// shows it, and every tool, so a user can find what they see.

#include "lang/CaptionTables.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace krt {
namespace {

std::string Help(const char* name)
{
    const auto bytes = test::ReadBytes(std::string(KRT_SOURCE_DATA_DIR) + "/" + name);
    return std::string(bytes.begin(), bytes.end());
}

// A menu caption as the eye reads it: no accelerator mark, no trailing dots.
std::string Readable(std::string caption)
{
    caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
    while (!caption.empty() && (caption.back() == '.' || caption.back() == ' '))
        caption.pop_back();
    return caption;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

TEST(Help, EachLanguageNamesEveryMenuCommand)
{
    for (const auto& [language, file] :
         {std::pair{Language::English, "krtphote.html"}, {Language::Russian, "krtphoto.html"}}) {
        const std::string help = Lower(Help(file));
        ASSERT_FALSE(help.empty()) << file;
        int named = 0;
        for (const CaptionEntry& entry : CaptionTable(language)) {
            if (std::string_view(entry.window) != "TForm1")
                continue;
            const std::string caption = Readable(entry.text);
            if (caption == "?" || caption.empty())
                continue;
            ++named;
            EXPECT_NE(help.find(Lower(caption)), std::string::npos) << file << " does not name \"" << caption << "\"";
        }
        EXPECT_GE(named, 38) << file;
        for (const char* topic : {"cx", "random", "sqr", "^", "edit5", "ueffect.prg", "ufilter.prg", "krtphoto-batch",
                                  "-install", "-uninstall"})
            EXPECT_NE(help.find(topic), std::string::npos) << file << " says nothing of " << topic;
    }
}

} // namespace
} // namespace krt
