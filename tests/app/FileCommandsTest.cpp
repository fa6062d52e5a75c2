#include "app/FileCommands.h"
#include "app/LayoutFile.h"
#include "core/KrtError.h"
#include "imageio/ImageFiles.h"
#include "lang/CaptionTables.h"
#include "support/FakeWindows.h"
#include "support/ScriptedPrompts.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

namespace krt {
namespace {

using test::FakeWindows;
using test::ScriptedPrompts;
using test::TempFolder;

struct Fixture {
    Fixture() : editor(Language::English, DataPaths{}), commands(editor, prompts, host, host)
    {
        ApplyMessageEntries(CaptionTable(Language::English), editor.Messages);
    }
    std::string Path(const char* name) const { return folder.Path(name).string(); }

    TempFolder folder;
    Editor editor;
    ScriptedPrompts prompts;
    FakeWindows host{editor};
    FileCommands commands;
};

TEST(FileCommands, NewMakesAWhiteUntitledChangedImage)
{
    Fixture f;
    f.prompts.newSize = ImageSize{640, 480};
    f.commands.New();
    EXPECT_EQ(f.editor.Image.Width, 640);
    EXPECT_EQ(f.editor.Image.Pixel(639, 479), White);
    EXPECT_EQ(f.host.title, "KRT Dalmor's Photo Editor - untitled");
    EXPECT_EQ(f.editor.Document.ModifiedCount, 1);
    EXPECT_FALSE(f.commands.SaveEnabled()) << "no name yet";
    EXPECT_EQ(f.editor.Selection.SelectionMask.size(), 640u * 480u);
    EXPECT_EQ(f.host.replaced, 1);
    // The next replacing command asks to save; Cancel keeps everything.
    f.prompts.answers = {Answer::Cancel};
    f.prompts.newSize = ImageSize{10, 10};
    f.commands.New();
    EXPECT_EQ(f.editor.Image.Width, 640);
    EXPECT_EQ(f.prompts.asked.back(), "ask:Save?");
    // Sizes below 1 are refused with a message.
    f.prompts.newSize = ImageSize{0, 10};
    EXPECT_THROW(f.commands.New(), KrtError);
}

TEST(FileCommands, SaveAsFiltersAndExtensions)
{
    struct Case {
        const char* typed;
        int filter;
        const char* written;
        ImageFormat format;
        int quality;
    };
    const Case cases[] = {
        {"picture", 1, "picture.jpg", ImageFormat::Jpeg, 32},
        {"picture2", 4, "picture2.bmp", ImageFormat::Bmp, 0},
        {"my.photo", 2, "my.photo.jpg", ImageFormat::Jpeg, 80},
        {"photo.bmp", 2, "photo.bmp", ImageFormat::Bmp, 80}, // the name decides the format
        {"shot", 5, "shot.png", ImageFormat::Png, 0},
        {"full.jpeg", 3, "full.jpeg", ImageFormat::Jpeg, 100},
        {"scan", 7, "scan.tif", ImageFormat::Tiff, 0},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.editor.Image = test::PatternImage(20, 10);
        f.prompts.files = {f.Path(c.typed)};
        f.prompts.filters = {c.filter};
        f.commands.SaveAs();
        const std::string written = f.Path(c.written);
        ASSERT_TRUE(std::filesystem::exists(written)) << c.typed;
        EXPECT_EQ(f.editor.Document.DocFileName, written);
        EXPECT_EQ(f.editor.Document.JpegQuality, c.quality) << c.typed;
        EXPECT_EQ(f.host.title, "KRT Dalmor's Photo Editor - " + std::string(c.written));
        EXPECT_EQ(f.commands.saveFilter, c.filter) << "the dialog remembers the filter";
        TFastBMP back;
        ReadImageFile(written, back);
        EXPECT_EQ(back.Width, 20);
        EXPECT_EQ(f.prompts.asked.size(), 1u) << "no quality prompt: " << c.typed;
    }
}

// WebP asks its own quality once (Cancel and a number out of range write
// nothing); the camera's EXIF of the opened photo goes with every save of it
// and is gone after New.
TEST(FileCommands, WebpQualityAndThePhotosMetadata)
{
    Fixture f;
    f.commands.OpenFile(test::ProjectData("photos/camera.jpg").string());
    ASSERT_EQ(ExifOrientation(f.editor.Document.Exif), 6);
    ASSERT_EQ(f.editor.Image.Width, 32) << "opened upright";
    const std::string webp = f.Path("camera.webp");
    const std::pair<std::optional<std::string>, bool> answers[] = {
        {std::nullopt, false}, // Cancel
        {"101", false},        // refused
        {"100", true},         // lossless
    };
    for (const auto& [answer, written] : answers) {
        f.prompts.files = {webp};
        f.prompts.filters = {6};
        f.prompts.texts = {answer};
        try {
            EXPECT_EQ(f.commands.SaveAs(), written);
        } catch (const KrtError&) {
            EXPECT_FALSE(written);
        }
        EXPECT_EQ(f.prompts.asked.back(), "text:Quality of WebP:80");
        EXPECT_EQ(std::filesystem::exists(webp), written);
        EXPECT_EQ(f.editor.Document.WebpQuality, written ? 100 : 0) << "a save that did not happen sets nothing";
    }
    TFastBMP back;
    ExifBlock kept;
    ReadImageFile(webp, back, {}, &kept);
    EXPECT_TRUE(back.SamePixels(f.editor.Image)) << "quality 100 is lossless";
    EXPECT_EQ(ExifOrientation(kept), 1);
    EXPECT_EQ(kept.size(), ExifForSaving(f.editor.Document.Exif, 32, 48).size());
    f.editor.Document.ModifiedCount = 1;
    const std::size_t asked = f.prompts.asked.size();
    EXPECT_TRUE(f.commands.Save());
    EXPECT_EQ(f.prompts.asked.size(), asked) << "asked once";
    f.prompts.answers = {Answer::No};
    f.prompts.newSize = ImageSize{8, 8};
    f.commands.New();
    EXPECT_TRUE(f.editor.Document.Exif.empty()) << "a new picture has no camera";
}

TEST(FileCommands, JpegQualityIsAskedOnceAfterOpen)
{
    Fixture f;
    WriteImageFile(f.Path("a.jpg"), test::PatternImage(30, 20), 90);
    f.prompts.files = {f.Path("a.jpg")};
    f.commands.Open();
    EXPECT_EQ(f.host.title, "KRT Dalmor's Photo Editor - a.jpg");
    EXPECT_EQ(f.host.cancelled, 1);
    f.editor.Document.ModifiedCount = 1;
    EXPECT_TRUE(f.commands.SaveEnabled());
    f.prompts.texts = {std::string("not a number")};
    EXPECT_THROW(f.commands.Save(), KrtError);
    EXPECT_EQ(f.editor.Document.ModifiedCount, 1) << "nothing was written";
    f.prompts.texts = {std::string(" 70 ")};
    f.commands.Save();
    EXPECT_EQ(f.prompts.asked.back(), "text:Quality of JPG:80");
    EXPECT_EQ(f.editor.Document.JpegQuality, 70);
    EXPECT_EQ(f.editor.Document.ModifiedCount, 0);
    f.editor.Document.ModifiedCount = 3;
    const std::size_t asked = f.prompts.asked.size();
    f.commands.Save();
    EXPECT_EQ(f.prompts.asked.size(), asked) << "later saves do not ask";
}

TEST(FileCommands, SaveStateFollowsTheName)
{
    Fixture f;
    f.editor.Document.ModifiedCount = 1;
    for (auto [name, enabled] :
         {std::pair{"x.jpg", true}, std::pair{"x.BMP", true}, std::pair{"x.png", true}, std::pair{"x.gif", false},
          std::pair{"x.jpeg", false}, std::pair{".bm", false}, std::pair{"x.webp", true}, std::pair{"x.TIF", true},
          std::pair{"x.tiff", true}, std::pair{"x.heic", false}}) {
        f.editor.Document.DocFileName = name;
        EXPECT_EQ(f.commands.SaveEnabled(), enabled) << name;
    }
    f.editor.Document.DocFileName = "x.jpg";
    f.editor.Document.ModifiedCount = 0;
    EXPECT_FALSE(f.commands.SaveEnabled());
}

TEST(FileCommands, YesToTheSavePromptSavesOrAsksForAName)
{
    Fixture f;
    WriteImageFile(f.Path("old.gif.bmp"), test::PatternImage(5, 5), 80);
    WriteImageFile(f.Path("next.bmp"), test::PatternImage(7, 7), 80);
    // A document named .gif cannot be saved under its name: Yes runs Save as.
    f.editor.Document.DocFileName = f.Path("drawing.gif");
    f.editor.Document.ModifiedCount = 2;
    f.prompts.answers = {Answer::Yes};
    f.prompts.files = {f.Path("drawing-copy"), f.Path("next.bmp")};
    f.prompts.filters = {4};
    f.commands.Open();
    EXPECT_TRUE(std::filesystem::exists(f.Path("drawing-copy.bmp")));
    EXPECT_EQ(f.editor.Image.Width, 7) << "then the chosen file opens";
    EXPECT_EQ(f.prompts.asked, (std::vector<std::string>{"ask:Save?", "save-as:1", "open"}));
}

TEST(FileCommands, AFailedOpenKeepsTheDocument)
{
    Fixture f;
    f.editor.Image = test::PatternImage(12, 9);
    f.editor.BuildDocumentBuffers();
    f.editor.Document.DocFileName = "/pictures/mine.bmp";
    test::WriteBytes(f.folder.Path("broken.jpg"), "not a jpeg at all");
    f.prompts.files = {f.Path("broken.jpg")};
    EXPECT_THROW(f.commands.Open(), KrtError);
    EXPECT_TRUE(f.editor.Image.SamePixels(test::PatternImage(12, 9)));
    EXPECT_EQ(f.editor.Document.DocFileName, "/pictures/mine.bmp");
    EXPECT_EQ(f.editor.Selection.SelectionMask.size(), 12u * 9u);
    EXPECT_EQ(f.host.replaced, 0);
}

TEST(FileCommands, AFailedSaveKeepsTheOldFileAndTheChanges)
{
    Fixture f;
    const std::string path = f.Path("kept.bmp");
    WriteImageFile(path, test::PatternImage(3, 3), 80);
    const auto before = test::ReadBytes(path);
    f.editor.Document.DocFileName = path;
    f.editor.Document.ModifiedCount = 1;
    // A name whose folder is a file cannot be written: the old file and the changes stay.
    test::WriteBytes(f.folder.Path("plain"), "a file, not a folder");
    f.editor.Document.DocFileName = f.Path("plain") + "/kept.bmp";
    EXPECT_THROW(f.commands.Save(), KrtError);
    EXPECT_EQ(f.editor.Document.ModifiedCount, 1);
    EXPECT_EQ(test::ReadBytes(path), before);
    // Refused formats fail the same way, whoever runs the test.
    f.editor.Image = test::PatternImage(3, 3);
    f.editor.Document.DocFileName = f.Path("kept.gif");
    EXPECT_THROW(f.commands.Save(), KrtError);
    EXPECT_EQ(f.editor.Document.ModifiedCount, 1);
}

TEST(FileCommands, SizesTypedIntoTheDialogs)
{
    EXPECT_EQ(ParseSizeText("  640 "), 640);
    EXPECT_THROW(ParseSizeText("6 40"), KrtError);
    EXPECT_THROW(ParseSizeText(""), KrtError);
    EXPECT_THROW(CheckImageSize(40000, 10), KrtError);
    EXPECT_NO_THROW(CheckImageSize(1, 1));
}

TEST(LayoutFile, DefaultsNumbersAndRoundTrip)
{
    TempFolder folder;
    const std::string path = folder.Path("cfg/krtphed.ini").string();
    auto values = LoadWindowLayout(path);
    EXPECT_EQ(LayoutLookup(values, "Form1", "Width", -1), 726);
    EXPECT_EQ(LayoutLookup(values, "EditForm", "Top", -1), 183);
    std::filesystem::create_directories(folder.Path("cfg"));
    test::WriteBytes(path, "[Form1]\r\nLeft=17\r\nTop=abc\r\n[editform]\r\nheight = 40\r\n");
    values = LoadWindowLayout(path);
    EXPECT_EQ(LayoutLookup(values, "Form1", "Left", -1), 17);
    EXPECT_EQ(LayoutLookup(values, "Form1", "Top", -1), 0) << "not a number: the default";
    EXPECT_EQ(LayoutLookup(values, "EditForm", "Height", -1), 40);
    values[0].value = 99;
    SaveWindowLayout(path, values);
    EXPECT_EQ(LayoutLookup(LoadWindowLayout(path), "Form1", "Left", -1), 99);
    EXPECT_EQ(LoadWindowLayout(path).size(), 21u);
}

TEST(LayoutFile, StoredRectanglesAreMadeReachable)
{
    const WindowRect area{0, 0, 800, 600}, least{0, 0, 100, 80}, most{0, 0, 1280, 1024};
    struct Case {
        const char* what;
        WindowRect stored;
        WindowRect expected;
    };
    const Case cases[] = {
        {"inside stays", {10, 20, 300, 200}, {10, 20, 300, 200}},
        {"partly out on the right stays", {700, 20, 300, 200}, {700, 20, 300, 200}},
        {"left of the area keeps its grip", {-5000, 20, 300, 200}, {-260, 20, 300, 200}},
        {"above the area comes down", {10, -50, 300, 200}, {10, 0, 300, 200}},
        {"below the area keeps its title bar", {10, 9000, 300, 200}, {10, 570, 300, 200}},
        {"beyond the right edge keeps its grip", {9000, 20, 300, 200}, {760, 20, 300, 200}},
        {"huge becomes the screen's size", {0, 0, 100000, 100000}, {0, 0, 1280, 1024}},
        {"tiny becomes the minimum", {0, 0, 3, -7}, {0, 0, 100, 80}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReachableRect(c.stored, area, least, most), c.expected) << c.what;
}

} // namespace
} // namespace krt

namespace krt {
namespace {

TEST(FileCommands, AScanReplacesTheDocumentOnlyWhenAPictureCame)
{
    Fixture f;
    f.editor.Document.DocFileName = "/tmp/photo.jpg";
    f.editor.Document.JpegQuality = 90;
    f.editor.Document.ModifiedCount = 3;
    f.host.title = "KRT Dalmor's Photo Editor - photo.jpg";
    int asked = 0;
    auto picture = [&asked]() -> std::optional<TFastBMP> {
        ++asked;
        TFastBMP scan(30, 20);
        scan.Fill(PackRGB(1, 2, 3));
        return scan;
    };
    // Cancel at "Save?": the scanner is not asked.
    f.prompts.answers = {Answer::Cancel};
    f.commands.Scan(picture);
    EXPECT_EQ(asked, 0);
    // No picture (cancelled or failed): the document keeps its changes.
    f.prompts.answers = {Answer::No};
    f.commands.Scan([] { return std::optional<TFastBMP>(); });
    EXPECT_EQ(f.editor.Image.Width, 1000);
    EXPECT_EQ(f.editor.Document.ModifiedCount, 3);
    EXPECT_EQ(f.editor.Document.DocFileName, "/tmp/photo.jpg");
    // A picture: the new document, untitled inside but the title kept, changed.
    f.prompts.answers = {Answer::No};
    f.commands.Scan(picture);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(f.editor.Image.Width, 30);
    EXPECT_EQ(f.editor.Image.Pixel(29, 19), PackRGB(1, 2, 3));
    EXPECT_EQ(f.editor.Document.ModifiedCount, 1);
    EXPECT_TRUE(f.editor.Document.DocFileName.empty());
    EXPECT_EQ(f.editor.Document.JpegQuality, 0);
    EXPECT_EQ(f.host.title, "KRT Dalmor's Photo Editor - photo.jpg");
    EXPECT_EQ(f.host.toolsSelected.back(), Tool::Pencil);
    EXPECT_EQ(f.editor.UndoCount, 0) << "a new document has no history";
}

} // namespace
} // namespace krt

namespace krt {
namespace {

// A new picture or a scan whose working buffers cannot be had leaves the
// document, its name and its unsaved changes as they were.
TEST(FileCommands, AReplacementThatRunsOutOfMemoryKeepsTheDocumentsNameAndChanges)
{
    if (!test::AddressLimitsWork())
        GTEST_SKIP() << "address-space limits do not work under AddressSanitizer";
    test::ChildLimits limits;
    limits.addressSpaceHeadroom = std::uint64_t{1600} << 20; // the picture fits, its undo buffers do not
    const test::ChildOutcome outcome = test::RunInChild(
        [] {
            Fixture f;
            f.editor.Document.DocFileName = "/tmp/photo.jpg";
            f.editor.Document.JpegQuality = 90;
            f.editor.Document.ModifiedCount = 2;
            f.prompts.answers = {Answer::No, Answer::No};
            f.prompts.newSize = ImageSize{20000, 20000};
            int failures = 0;
            try {
                f.commands.New();
            } catch (const KrtError&) {
                ++failures;
            }
            try {
                f.commands.Scan([]() -> std::optional<TFastBMP> { return TFastBMP(20000, 20000); });
            } catch (const KrtError&) {
                ++failures;
            }
            const DocumentState& doc = f.editor.Document;
            return failures == 2 && doc.DocFileName == "/tmp/photo.jpg" && doc.JpegQuality == 90 &&
                           doc.ModifiedCount == 2 && f.editor.Image.Width == 1000
                       ? 0
                       : 1;
        },
        limits);
    ASSERT_TRUE(outcome.exited) << "signal " << outcome.signal;
    EXPECT_EQ(outcome.code, 0);
}

} // namespace
} // namespace krt
