#include "core/OwnMessages.h"
#include "app/FileCommands.h"
#include "core/DataPaths.h"
#include "core/Integer.h"
#include "core/KrtError.h"
#include "imageio/ImageFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace krt {
namespace {

// The message a failing call gives in a language.
std::string MessageIn(Language language, const std::function<void()>& fails)
{
    SetMessageLanguage(language);
    std::string message;
    try {
        fails();
    } catch (const KrtError& e) {
        message = e.what();
    }
    SetMessageLanguage(Language::English);
    return message;
}

bool HasCyrillic(const std::string& text)
{
    return text.find("\xD0") != std::string::npos || text.find("\xD1") != std::string::npos;
}

TEST(OwnMessages, TheEditorsOwnErrorsSpeakTheInterfaceLanguage)
{
    test::TempFolder folder;
    test::WriteBytes(folder.Path("notes.txt"), "not a picture");
    const std::pair<const char*, std::function<void()>> failures[] = {
        {"a word for a number", [] { ParseInteger("twelve"); }},
        {"an impossible size", [] { CheckImageSize(0, 10); }},
        {"a picture too large", [] { TFastBMP(MaxImageSide + 1, 1); }},
        {"a missing file",
         [&] {
             TFastBMP image;
             ReadImageFile(folder.Path("missing.bmp").string(), image);
         }},
        {"not a picture",
         [&] {
             TFastBMP image;
             ReadImageFile(folder.Path("notes.txt").string(), image);
         }},
        {"GIF is not written", [&] { WriteImageFile(folder.Path("a.gif").string(), TFastBMP(2, 2), 80); }},
        {"a folder that cannot be made", [&] { PrepareUserFolder(folder.Path("notes.txt/home")); }},
    };
    for (const auto& [what, fails] : failures) {
        const std::string english = MessageIn(Language::English, fails);
        const std::string russian = MessageIn(Language::Russian, fails);
        EXPECT_FALSE(english.empty()) << what;
        EXPECT_FALSE(HasCyrillic(english)) << what << ": " << english;
        EXPECT_TRUE(HasCyrillic(russian)) << what << ": " << russian;
    }
}

} // namespace
} // namespace krt
