#include "core/KrtError.h"
#include "paint/SelectionShapes.h"
#include "support/CommandDesk.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace krt {
namespace {

using test::Desk;

constexpr PackedColor Red = PackRGB(255, 0, 0);

// Every command that replaces the document asks to save unsaved changes
// first. When the user cancels the question, or the save it starts (the
// quality box, the save dialog), or the save fails, the command stops: the
// document, its changes and its name stay as they were.
TEST(SaveChanges, ACancelledOrFailedSaveStopsTheCommandThatAsked)
{
    struct Command {
        const char* name;
        std::function<void(Desk&)> prepare;
        std::function<void(Desk&)> run;
    };
    const Command commands[] = {
        {"New",
         [](Desk& d) {
             d.prompts.newSize = ImageSize{30, 30};
         },
         [](Desk& d) { d.files.New(); }},
        {"Open", [](Desk&) {}, [](Desk& d) { d.files.Open(); }},
        {"Paste as new image", [](Desk& d) { d.Put(40, 40, Red); }, [](Desk& d) { d.edits.PasteAsNewImage(); }},
        {"Crop", [](Desk& d) { SelectAll(*d.editor); }, [](Desk& d) { d.edits.Crop(); }},
        {"Resize",
         [](Desk& d) {
             d.prompts.resize = ResizeRequest{50, 50, true, false};
         },
         [](Desk& d) { d.edits.Resize(); }},
        {"Exit", [](Desk&) {}, [](Desk& d) { EXPECT_FALSE(d.files.MayExit()); }},
    };
    struct Stop {
        const char* what;
        const char* fileName; // the document's name, empty for an unnamed one
        std::function<void(Desk&)> script;
        bool throws;
    };
    const Stop stops[] = {
        {"Cancel at Save?", "kept.bmp", [](Desk& d) { d.prompts.answers = {Answer::Cancel}; }, false},
        {"Cancel at the JPEG quality", "kept.jpg",
         [](Desk& d) {
             d.prompts.answers = {Answer::Yes};
             d.prompts.texts = {std::nullopt};
         },
         false},
        {"Cancel at the save dialog", "",
         [](Desk& d) {
             d.prompts.answers = {Answer::Yes};
             d.prompts.files = {std::nullopt};
         },
         false},
        {"a save that fails", "no such folder/kept.bmp", [](Desk& d) { d.prompts.answers = {Answer::Yes}; }, true},
    };
    for (const Command& command : commands)
        for (const Stop& stop : stops) {
            test::TempFolder folder;
            Desk d(20, 10);
            const std::string name = *stop.fileName ? folder.Path(stop.fileName).string() : std::string();
            d.editor->Document.DocFileName = name;
            d.editor->Image.SetPixel(3, 3, Red);
            d.editor->Document.ModifiedCount = 2;
            command.prepare(d);
            stop.script(d);
            if (stop.throws)
                EXPECT_THROW(command.run(d), KrtError) << command.name << ", " << stop.what;
            else
                command.run(d);
            const std::string context = std::string(command.name) + ", " + stop.what;
            EXPECT_EQ(d.editor->Image.Width, 20) << context;
            EXPECT_EQ(d.editor->Image.Pixel(3, 3), Red) << context;
            EXPECT_EQ(d.editor->Document.ModifiedCount, 2) << context;
            EXPECT_EQ(d.editor->Document.DocFileName, name) << context;
            EXPECT_TRUE(d.prompts.answers.empty() && d.prompts.texts.empty() && d.prompts.files.empty())
                << context << ": every scripted answer was asked for";
            EXPECT_EQ(std::find(d.prompts.asked.begin(), d.prompts.asked.end(), "open"), d.prompts.asked.end())
                << context << ": the command went on";
            EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << context << ": nothing is written";
            EXPECT_EQ(d.windows.changesGone, 0) << context << ": the changes (and their recovery copy) stay";
        }
}

TEST(SaveChanges, ASaveThatWentThroughLetsTheCommandGoOn)
{
    test::TempFolder folder;
    Desk d(20, 10);
    d.editor->Document.DocFileName = folder.Path("mine.jpg").string();
    d.editor->Document.ModifiedCount = 1;
    d.prompts.answers = {Answer::Yes};
    d.prompts.texts = {std::string("90")};
    EXPECT_TRUE(d.files.MayExit());
    EXPECT_TRUE(std::filesystem::exists(folder.Path("mine.jpg")));
    EXPECT_EQ(d.editor->Document.ModifiedCount, 0);
    EXPECT_TRUE(d.files.MayExit()) << "nothing unsaved: no question";
    EXPECT_EQ(d.prompts.asked.size(), 2u);
}

// The recovery copy may go exactly when the changes are gone: written by a
// save, or dropped by "No" at "Save?".
TEST(SaveChanges, TheChangesAreGoneAfterASaveOrANo)
{
    struct Case {
        const char* what;
        Answer answer;
        bool saved;
    };
    for (const Case& c : {Case{"Yes, saved", Answer::Yes, true}, Case{"No", Answer::No, false}}) {
        test::TempFolder folder;
        Desk d(20, 10);
        d.editor->Document.DocFileName = folder.Path("mine.bmp").string();
        d.editor->Document.ModifiedCount = 1;
        d.prompts.answers = {c.answer};
        EXPECT_TRUE(d.files.MayExit()) << c.what;
        EXPECT_EQ(std::filesystem::exists(folder.Path("mine.bmp")), c.saved) << c.what;
        EXPECT_EQ(d.windows.changesGone, 1) << c.what;
    }
}

} // namespace
} // namespace krt
