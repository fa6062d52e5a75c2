// The bmpsuite corpus: good files decode exactly like their reference
// renderings; questionable and bad ones give a picture or a clear error.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

namespace krt {
namespace {

using test::MustDecode;
using test::TestData;

// Which reference rendering shows each file (from the suite's own index).
const std::map<std::string, std::string> References = {
    {"g/pal1.bmp", "pal1.png"},
    {"g/pal1wb.bmp", "pal1.png"},
    {"g/pal1bg.bmp", "pal1bg.png"},
    {"g/pal4.bmp", "pal4.png"},
    {"g/pal4gs.bmp", "pal4gs.png"},
    {"g/pal4rle.bmp", "pal4.png"},
    {"g/pal8.bmp", "pal8.png"},
    {"g/pal8-0.bmp", "pal8.png"},
    {"g/pal8gs.bmp", "pal8gs.png"},
    {"g/pal8rle.bmp", "pal8.png"},
    {"g/pal8w126.bmp", "pal8w126.png"},
    {"g/pal8w125.bmp", "pal8w125.png"},
    {"g/pal8w124.bmp", "pal8w124.png"},
    {"g/pal8topdown.bmp", "pal8.png"},
    {"g/pal8nonsquare.bmp", "pal8nonsquare-e.png"}, // an editor keeps the stored pixels
    {"g/pal8os2.bmp", "pal8.png"},
    {"g/pal8v4.bmp", "pal8.png"},
    {"g/pal8v5.bmp", "pal8.png"},
    {"g/rgb16.bmp", "rgb16.png"},
    {"g/rgb16bfdef.bmp", "rgb16.png"},
    {"g/rgb16-565.bmp", "rgb16-565.png"},
    {"g/rgb16-565pal.bmp", "rgb16-565.png"},
    {"g/rgb24.bmp", "rgb24.png"},
    {"g/rgb24pal.bmp", "rgb24.png"},
    {"g/rgb32.bmp", "rgb24.png"},
    {"g/rgb32bfdef.bmp", "rgb24.png"},
    {"g/rgb32bf.bmp", "rgb24.png"},
    // Questionable files that this decoder reads exactly as the suite suggests.
    {"q/pal1p1.bmp", "pal1p1.png"},
    {"q/pal2.bmp", "pal2.png"},
    {"q/pal2color.bmp", "pal2color.png"},
    {"q/pal8offs.bmp", "pal8.png"},
    {"q/pal8oversizepal.bmp", "pal8.png"},
    {"q/pal8os2-sz.bmp", "pal8.png"},
    {"q/pal8os2-hs.bmp", "pal8.png"},
    {"q/pal8os2sp.bmp", "pal8.png"},
    {"q/pal8os2v2.bmp", "pal8.png"},
    {"q/pal8os2v2-16.bmp", "pal8.png"},
    {"q/pal8os2v2-sz.bmp", "pal8.png"},
    {"q/pal8os2v2-40sz.bmp", "pal8.png"},
    {"q/rgb24rle24.bmp", "pal8.png"},
    {"q/pal4rletrns.bmp", "pal4rletrns-0.png"},
    {"q/pal8rletrns.bmp", "pal8rletrns-0.png"},
    {"q/rgb16-231.bmp", "rgb16-231.png"},
    {"q/rgb16-3103.bmp", "rgb16-3103.png"},
    {"q/rgb24largepal.bmp", "rgb24.png"},
    {"q/rgb24png.bmp", "rgb24.png"},
    {"q/rgb32h52.bmp", "rgb24.png"},
    {"q/rgb32-xbgr.bmp", "rgb24.png"},
    {"q/rgb32fakealpha.bmp", "rgb24.png"},
    {"x/ba-bm.bmp", "pal8.png"},
};

// Channels wider than 8 bits are scaled by rounding here; the suite's renderings
// round down, so these differ by at most one level.
const std::map<std::string, std::string> NearReferences = {
    {"q/rgb32-111110.bmp", "rgb24.png"},
    {"q/rgb32-7187.bmp", "rgb32-7187.png"},
};

// The core set of variants kept with the project: always run.
TEST(BmpCorpus, TheProjectsOwnVariantsMatchTheirReferences)
{
    int compared = 0;
    for (const auto& file : test::CorpusFiles(test::ProjectData("bmp"), ".bmp")) {
        SCOPED_TRACE(file.filename().string());
        const auto reference = References.find("g/" + file.filename().string());
        ASSERT_NE(reference, References.end());
        const TFastBMP image = MustDecode(file);
        const TFastBMP expected = MustDecode(test::ProjectData("bmp/ref-" + reference->second));
        EXPECT_TRUE(image.SamePixels(expected)) << "largest difference " << test::MaxChannelDifference(image, expected);
        ++compared;
    }
    EXPECT_EQ(compared, 12);
}

TEST(BmpCorpus, GoodFilesMatchTheirReferences)
{
    KRT_REQUIRE_CORPUS("bmpsuite");
    int compared = 0;
    for (const auto& file : test::CorpusFiles(TestData("bmpsuite/g"), ".bmp")) {
        const std::string key = "g/" + file.filename().string();
        ASSERT_TRUE(References.count(key)) << key << " has no reference in this test";
    }
    for (const auto& [file, reference] : References) {
        SCOPED_TRACE(file);
        const TFastBMP image = MustDecode(TestData("bmpsuite/" + file));
        const TFastBMP expected = MustDecode(TestData("bmpsuite/reference/" + reference));
        ASSERT_EQ(image.Width, expected.Width);
        ASSERT_EQ(image.Height, expected.Height);
        EXPECT_TRUE(image.SamePixels(expected)) << "largest difference " << test::MaxChannelDifference(image, expected);
        ++compared;
    }
    EXPECT_EQ(compared, static_cast<int>(References.size()));
    for (const auto& [file, reference] : NearReferences) {
        const TFastBMP image = MustDecode(TestData("bmpsuite/" + file));
        const TFastBMP expected = MustDecode(TestData("bmpsuite/reference/" + reference));
        ASSERT_EQ(image.Width, expected.Width) << file;
        EXPECT_LE(test::MaxChannelDifference(image, expected), 1) << file;
    }
}

TEST(BmpCorpus, EveryOtherFileGivesAPictureOrAClearError)
{
    KRT_REQUIRE_CORPUS("bmpsuite");
    int decoded = 0, refused = 0;
    for (const char* folder : {"bmpsuite/b", "bmpsuite/q", "bmpsuite/x"}) {
        for (const auto& file : test::CorpusFiles(TestData(folder), ".bmp")) {
            std::string error;
            const auto image = test::TryDecode(file, &error);
            if (image) {
                EXPECT_GT(image->Width, 0) << file;
                ++decoded;
            } else {
                EXPECT_GT(error.size(), 10u) << file << " gave no useful message";
                ++refused;
            }
            if (std::getenv("KRT_CORPUS_VERBOSE"))
                std::printf("%s: %s\n", file.filename().c_str(), image ? "decoded" : error.c_str());
        }
    }
    EXPECT_GT(decoded, 40);
    EXPECT_GT(refused, 5);
}

TEST(BmpCorpus, BadFilesThatMustBeRefused)
{
    KRT_REQUIRE_CORPUS("bmpsuite");
    for (const char* name : {"b/badbitcount.bmp", "b/badheadersize.bmp", "b/badplanes.bmp", "b/badwidth.bmp",
                             "b/reallybig.bmp", "b/shortfile.bmp"}) {
        std::string error;
        EXPECT_FALSE(test::TryDecode(TestData(std::string("bmpsuite/") + name), &error)) << name;
    }
}

} // namespace
} // namespace krt
