// Photos as cameras, phones and other programs write them: every file of
// tests/data/photos looks as its reference tool shows it; the EXIF a photo
// came with survives a save, upright and without its thumbnail.

#include "core/KrtError.h"
#include "imageio/ImageFiles.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace krt {
namespace {

std::string Photo(const std::string& name) { return test::ProjectData("photos/" + name).string(); }

TEST(PhotoFiles, EachLooksAsItsReferenceToolShowsIt)
{
    std::ifstream list(Photo("expected.txt"));
    ASSERT_TRUE(list) << "tests/data/photos/expected.txt is missing";
    int compared = 0;
    for (std::string line; std::getline(list, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name, reference;
        int tolerance = 0;
        fields >> name >> reference >> tolerance;
        TFastBMP picture, expected;
        try {
            ReadImageFile(Photo(name), picture);
        } catch (const KrtError& e) {
            ADD_FAILURE() << e.what();
            continue;
        }
        ReadImageFile(Photo(reference), expected);
        ASSERT_EQ(picture.Width, expected.Width) << name;
        ASSERT_EQ(picture.Height, expected.Height) << name;
        EXPECT_LE(test::MaxChannelDifference(picture, expected), tolerance) << name << " against " << reference;
        ++compared;
    }
    EXPECT_GE(compared, 41);
}

bool Holds(const ExifBlock& block, const std::string& text)
{
    const ExifBlock bytes(text.begin(), text.end());
    return std::search(block.begin(), block.end(), bytes.begin(), bytes.end()) != block.end();
}

// The camera's block (make, model, date, GPS, orientation 6, a thumbnail)
// is written back by each format that holds EXIF: orientation 1, since the
// pixels are upright; the pixel dimensions the picture's own; no thumbnail.
TEST(PhotoFiles, ExifSurvivesASaveUprightWithoutItsThumbnail)
{
    test::TempFolder folder;
    TFastBMP picture;
    WriteOptions options;
    ReadImageFile(Photo("camera.jpg"), picture, {}, &options.exif);
    ASSERT_EQ(ExifOrientation(options.exif), 6);
    ASSERT_EQ(picture.Width, 32) << "turned upright";
    const std::string thumbnailStart("\xFF\xD8\xFF", 3);
    ASSERT_TRUE(Holds(options.exif, thumbnailStart));
    // A crop keeps the metadata: the block follows the picture's new size.
    TFastBMP cropped(20, 30);
    for (const char* name : {"out.jpg", "out.png", "out.webp"}) {
        WriteImageFile(folder.Path(name).string(), cropped, options);
        TFastBMP back;
        ExifBlock kept;
        ReadImageFile(folder.Path(name).string(), back, {}, &kept);
        EXPECT_EQ(back.Width, 20) << name << " is not turned again";
        EXPECT_EQ(ExifOrientation(kept), 1) << name;
        for (const char* text : {"Cam Maker", "Model X", "2024:05:06 07:08:09"})
            EXPECT_TRUE(Holds(kept, text)) << name << " lost " << text;
        // GPS: latitude 55 deg 45 min north, as the camera wrote it.
        EXPECT_TRUE(Holds(kept, std::string("\x37\0\0\0\x01\0\0\0\x2D\0\0\0\x01\0\0\0", 16))) << name;
        EXPECT_FALSE(Holds(kept, thumbnailStart)) << name << " kept the old thumbnail";
        EXPECT_EQ(ExifForSaving(kept, 20, 30), kept) << name << ": width and height already the picture's";
    }
    // BMP and TIFF hold no EXIF; a picture without metadata writes none.
    TFastBMP back;
    ExifBlock none{1};
    WriteImageFile(folder.Path("plain.png").string(), cropped, WriteOptions{});
    ReadImageFile(folder.Path("plain.png").string(), back, {}, &none);
    EXPECT_TRUE(none.empty());
}

// Video colour numbers libheif refuses are ignored (the picture read as
// sRGB); the numbers it hands out all the same are freed (the sanitizer
// build reports a leak at exit otherwise).
TEST(PhotoFiles, RefusedColourNumbersAreIgnored)
{
    TFastBMP picture;
    ReadImageFile(test::ProjectData("hostile/unknown-colour-numbers.avif").string(), picture);
    EXPECT_EQ(picture.Width, 48);
}

// A damaged block is neither applied nor written back; its reader stays
// inside it whatever its offsets say.
TEST(PhotoFiles, DamagedExifGivesOrientationOneAndIsDropped)
{
    const ExifBlock cases[] = {
        {},
        {'I', 'I', 42, 0},
        {'I', 'I', 42, 0, 0xFF, 0xFF, 0xFF, 0x7F}, // first IFD far outside
        {'M', 'M', 0, 42, 0, 0, 0, 8, 0xFF, 0xFF}, // 65535 entries announced
        {'I', 'I', 43, 0, 8, 0, 0, 0, 1, 0, 0x12, 1, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0}, // not 42
    };
    for (const ExifBlock& block : cases) {
        EXPECT_EQ(ExifOrientation(block), 1);
        EXPECT_TRUE(ExifForSaving(block, 10, 10).empty());
    }
}

} // namespace
} // namespace krt
