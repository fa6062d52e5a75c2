#include "imageio/ImageFiles.h"
#include "core/KrtError.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace krt {
namespace {

using test::PatternImage;
using test::TempFolder;

TEST(ImageFiles, FormatsFollowTheExtension)
{
    struct Case {
        const char* name;
        std::optional<ImageFormat> read;
        ImageFormat write;
    };
    const Case cases[] = {
        {"a.bmp", ImageFormat::Bmp, ImageFormat::Bmp},    {"a.JPG", ImageFormat::Jpeg, ImageFormat::Jpeg},
        {"a.jpeg", ImageFormat::Jpeg, ImageFormat::Jpeg}, {"a.Png", ImageFormat::Png, ImageFormat::Png},
        {"a.gif", ImageFormat::Gif, ImageFormat::Gif},    {"a.tif", ImageFormat::Tiff, ImageFormat::Tiff},
        {"a.WebP", ImageFormat::Webp, ImageFormat::Webp}, {"a.avif", ImageFormat::Heif, ImageFormat::Heif},
        {"a.heic", ImageFormat::Heif, ImageFormat::Heif}, {"a.psd", std::nullopt, ImageFormat::Bmp},
        {"picture", std::nullopt, ImageFormat::Bmp},      {"my.photo", std::nullopt, ImageFormat::Bmp},
        {"dir.jpg/file", std::nullopt, ImageFormat::Bmp},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatForReading(c.name), c.read) << c.name;
        EXPECT_EQ(FormatForWriting(c.name), c.write) << c.name;
    }
}

TEST(ImageFiles, RoundTripsThroughEveryWritableFormat)
{
    TempFolder folder;
    WriteOptions best;
    best.jpegQuality = best.webpQuality = 100; // WebP at 100 is lossless
    for (int width : {1, 2, 3, 4, 5, 33}) {
        const TFastBMP original = PatternImage(width, 7);
        for (const char* name : {"p.bmp", "p.png", "p.jpg", "p.webp", "p.tif"}) {
            const std::string path = folder.Path(name).string();
            WriteImageFile(path, original, best);
            TFastBMP back;
            ReadImageFile(path, back);
            ASSERT_EQ(back.Width, width);
            ASSERT_EQ(back.Height, 7);
            if (std::string(name) != "p.jpg") {
                EXPECT_TRUE(back.SamePixels(original)) << name << " width " << width;
            }
        }
    }
    // JPEG is lossy: a smooth picture at quality 100 comes back within a few levels.
    TFastBMP smooth(40, 30);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x)
            smooth.SetPixel(x, y, PackRGB(x * 6, y * 8, 128));
    WriteImageFile(folder.Path("s.jpg").string(), smooth, 100);
    TFastBMP back;
    ReadImageFile(folder.Path("s.jpg").string(), back);
    EXPECT_LE(test::MaxChannelDifference(back, smooth), 4);
}

TEST(ImageFiles, BmpFileIsPlain24BitBottomUp)
{
    TempFolder folder;
    const TFastBMP original = PatternImage(3, 2);
    WriteImageFile(folder.Path("x.bmp").string(), original, 0);
    const auto bytes = test::ReadBytes(folder.Path("x.bmp"));
    ASSERT_EQ(bytes.size(), 54u + 2 * 12);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[28], 24);                           // bits per pixel
    EXPECT_EQ(bytes[22], 2);                            // positive height: bottom-up
    EXPECT_EQ(bytes[54], BlueOf(original.Pixel(0, 1))); // the bottom row comes first
}

TEST(ImageFiles, FailuresNameTheFileAndLeaveTheImageAlone)
{
    TempFolder folder;
    test::WriteBytes(folder.Path("broken.bmp"), "BM this is not a bitmap at all");
    test::WriteBytes(folder.Path("picture.xyz"), "whatever");
    TFastBMP image = PatternImage(5, 5);
    for (const char* name : {"broken.bmp", "missing.jpg", "picture.xyz"}) {
        const std::string path = folder.Path(name).string();
        try {
            ReadImageFile(path, image);
            ADD_FAILURE() << name << " was read";
        } catch (const KrtError& e) {
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
        }
        EXPECT_TRUE(image.SamePixels(PatternImage(5, 5)));
    }
    try {
        ReadImageFile(folder.Path("picture.xyz").string(), image);
    } catch (const KrtError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Unsupported file type", 0), 0u) << e.what();
    }
}

TEST(ImageFiles, FailedSaveKeepsTheOldFile)
{
    TempFolder folder;
    const std::string path = folder.Path("keep.bmp").string();
    test::WriteBytes(path, "old contents");
    EXPECT_THROW(WriteImageFile(folder.Path("keep.gif").string(), PatternImage(2, 2), 80), KrtError);
    EXPECT_FALSE(std::filesystem::exists(folder.Path("keep.gif")));
    EXPECT_THROW(WriteImageFile(folder.Path("keep.jpg").string(), PatternImage(2, 2), 0), KrtError);
    // An empty image cannot become a JPEG: the old file with that name survives.
    test::WriteBytes(folder.Path("old.jpg"), "old contents");
    EXPECT_THROW(WriteImageFile(folder.Path("old.jpg").string(), TFastBMP(), 80), KrtError);
    EXPECT_EQ(test::ReadBytes(folder.Path("old.jpg")).size(), 12u);
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        EXPECT_NE(entry.path().filename().string()[0], '.') << "temporary file left behind: " << entry.path();
    EXPECT_THROW(WriteImageFile(folder.Path("no/such/dir.bmp").string(), PatternImage(2, 2), 80), KrtError);
    std::filesystem::create_directory(folder.Path("folder.bmp"));
    EXPECT_THROW(WriteImageFile(folder.Path("folder.bmp").string(), PatternImage(2, 2), 80), KrtError);
    EXPECT_TRUE(std::filesystem::is_directory(folder.Path("folder.bmp")));
}

TEST(ImageFiles, ContentDecidesOverAMisleadingExtension)
{
    TempFolder folder;
    const TFastBMP original = PatternImage(4, 3);
    WriteImageFile(folder.Path("real.png").string(), original, 80);
    std::filesystem::rename(folder.Path("real.png"), folder.Path("named.jpg"));
    TFastBMP back;
    ReadImageFile(folder.Path("named.jpg").string(), back);
    EXPECT_TRUE(back.SamePixels(original));

    // A name without an extension: the content says what it is.
    WriteImageFile(folder.Path("photo.jpg").string(), original, 95);
    std::filesystem::rename(folder.Path("photo.jpg"), folder.Path("photo"));
    TFastBMP jpeg;
    ReadImageFile(folder.Path("photo").string(), jpeg);
    EXPECT_EQ(jpeg.Width, 4);

    // What the editor cannot open says why.
    std::filesystem::create_directory(folder.Path("holiday.jpg"));
    test::WriteBytes(folder.Path("notes"), "plain text");
    const std::pair<const char*, const char*> refusals[] = {
        {"holiday.jpg", "it is a folder"},
        {"notes", "the editor opens BMP, JPEG, GIF, PNG, WebP, TIFF, HEIF and AVIF pictures"},
    };
    for (const auto& [name, why] : refusals)
        try {
            ReadImageFile(folder.Path(name).string(), back);
            ADD_FAILURE() << name;
        } catch (const KrtError& e) {
            EXPECT_NE(std::string(e.what()).find(why), std::string::npos) << e.what();
        }
}

} // namespace
} // namespace krt
