// JPEG corpora: reference decodes within 3 levels, the libjpeg-turbo samples
// close to their source picture, and hostile files refused cleanly.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

namespace krt {
namespace {

using test::TestData;

std::set<std::string> DisabledReferences()
{
    std::set<std::string> names;
    std::ifstream in(TestData("jpeg-reftest/disabled.list"));
    std::string line;
    while (std::getline(in, line))
        if (!line.empty() && line[0] != '#')
            names.insert(line);
    return names;
}

// Files of the reference corpus whose pictures lack part of their data.
const std::set<std::string>& MissingData()
{
    static const std::set<std::string> names = {"partial_progressive.jpg", "progressive-missing-ac.jpg",
                                                "progressive-missing-dc.jpg"};
    return names;
}

TEST(JpegCorpus, ReferenceDecodesAgreeWithinThreeLevels)
{
    KRT_REQUIRE_CORPUS("jpeg-reftest");
    const auto disabled = DisabledReferences();
    int compared = 0;
    for (const auto& file : test::CorpusFiles(TestData("jpeg-reftest"), ".jpg", true)) {
        const std::string relative = std::filesystem::relative(file, TestData("jpeg-reftest")).string();
        auto reference = file;
        reference.replace_extension(".png");
        std::string error;
        const auto image = test::TryDecode(file, &error);
        if (relative.rfind("lossless/", 0) == 0) {
            // Lossless and 12/16-bit JPEG are beyond the 8-bit baseline decoder: a clear refusal.
            EXPECT_FALSE(error.empty() && !image) << relative;
            continue;
        }
        if (disabled.count(relative.substr(0, relative.size() - 4)) || disabled.count(relative) ||
            !std::filesystem::exists(reference)) {
            EXPECT_TRUE(image) << relative << ": " << error;
            continue;
        }
        if (MissingData().count(relative)) {
            // Other decoders draw what arrived; the editor refuses a picture with data missing.
            EXPECT_FALSE(image) << relative << " has data missing";
            EXPECT_NE(error, "") << relative;
            continue;
        }
        ASSERT_TRUE(image) << relative << ": " << error;
        const TFastBMP expected = test::MustDecode(reference);
        ASSERT_EQ(image->Width, expected.Width) << relative;
        ASSERT_EQ(image->Height, expected.Height) << relative;
        EXPECT_LE(test::MaxChannelDifference(*image, expected), 3) << relative;
        ++compared;
    }
    EXPECT_GT(compared, 27);
}

// A binary PPM (P6) file: the source picture of the libjpeg-turbo samples.
TFastBMP ReadPpm(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::string magic;
    int w = 0, h = 0, maxValue = 0;
    in >> magic >> w >> h >> maxValue;
    in.get();
    TFastBMP image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            char rgb[3];
            in.read(rgb, 3);
            image.SetPixel(x, y,
                           PackRGB(static_cast<std::uint8_t>(rgb[0]), static_cast<std::uint8_t>(rgb[1]),
                                   static_cast<std::uint8_t>(rgb[2])));
        }
    return image;
}

TEST(JpegCorpus, LibjpegTurboSamplesDecode)
{
    KRT_REQUIRE_CORPUS("jpeg-turbo");
    const TFastBMP image = test::MustDecode(TestData("jpeg-turbo/testorig.jpg"));
    const TFastBMP source = ReadPpm(TestData("jpeg-turbo/testorig.ppm"));
    ASSERT_EQ(image.Width, source.Width);
    ASSERT_EQ(image.Height, source.Height);
    long long total = 0;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const PackedColor a = image.Pixel(x, y), b = source.Pixel(x, y);
            total +=
                std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) + std::abs(BlueOf(a) - BlueOf(b));
        }
    EXPECT_LT(static_cast<double>(total) / (3.0 * image.Width * image.Height), 4.0) << "mean difference";
    for (const char* name : {"testimgint.jpg", "testimgari.jpg", "monkey12.jpg"}) {
        std::string error;
        const auto sample = test::TryDecode(TestData(std::string("jpeg-turbo/") + name), &error);
        // Arithmetic coding and 12-bit samples may be refused, but never silently.
        EXPECT_TRUE(sample || !error.empty()) << name;
    }
    EXPECT_TRUE(test::TryDecode(TestData("jpeg-turbo/testimgint.jpg")));
}

TEST(JpegCorpus, HostileFilesAreRefusedOrDecoded)
{
    KRT_REQUIRE_CORPUS("jpeg-crashtest");
    int refused = 0, total = 0;
    for (const auto& file : test::CorpusFiles(TestData("jpeg-crashtest"), ".jpg", true)) {
        std::string error;
        const auto image = test::TryDecode(file, &error);
        ++total;
        if (!image) {
            EXPECT_GT(error.size(), 10u) << file;
            ++refused;
        } else {
            EXPECT_GT(image->Width, 0);
        }
    }
    EXPECT_GT(total, 100);
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace krt
