// The deformations that ship with the editor: both languages hold the same
// set, each compiles at every slider end, moves pixels, and warps the same with
// the fast backend as with the reference evaluator.

#include "deform/DeformationRecord.h"
#include "deform/formula/FastBackend.h"
#include "library/LibraryFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace krt {
namespace {

std::vector<DeformationRecord> Library(const char* name)
{
    const LibraryContents contents = ReadLibraryFile(std::string(KRT_SOURCE_DATA_DIR) + "/" + name);
    EXPECT_TRUE(contents.problems.empty()) << name;
    std::vector<DeformationRecord> records;
    for (const std::string& line : contents.records)
        records.push_back(ParseRecord(line));
    return records;
}

TEST(BuiltinLibraries, BothLanguagesShipTheSameDeformations)
{
    const auto english = Library("effecte.prg");
    const auto russian = Library("effect.prg");
    ASSERT_GE(english.size(), 24u);
    ASSERT_EQ(english.size(), russian.size());
    bool polar = false, cartesian = false, target = false, source = false;
    for (std::size_t i = 0; i < english.size(); ++i) {
        const DeformationRecord &en = english[i], &ru = russian[i];
        EXPECT_EQ(en.FormulaPair(), ru.FormulaPair()) << en.name;
        EXPECT_EQ(en.cartesian, ru.cartesian) << en.name;
        EXPECT_EQ(en.source, ru.source) << en.name;
        EXPECT_NE(en.name, ru.name) << "the Russian library has Russian names";
        for (std::size_t k = 0; k < 6; ++k) {
            EXPECT_EQ(en.constants[k].used, ru.constants[k].used) << en.name;
            EXPECT_EQ(en.constants[k].defaultValue, ru.constants[k].defaultValue) << en.name;
            EXPECT_EQ(en.constants[k].used, !en.constants[k].label.empty()) << en.name << ": label the sliders";
        }
        (en.cartesian ? cartesian : polar) = true;
        (en.source ? source : target) = true;
    }
    EXPECT_TRUE(polar && cartesian && source && target);
}

TEST(BuiltinLibraries, EveryDeformationCompilesAtEverySliderEnd)
{
    for (const DeformationRecord& record : Library("effecte.prg")) {
        for (int setting : {-1, 0, 100}) {
            DeformationParams params = record.Params();
            for (std::size_t k = 0; k < 6; ++k)
                if (setting >= 0 && record.constants[k].used)
                    params.constants[k] = setting;
            CompiledDeformation compiled;
            EXPECT_EQ(CompileDeformation(params, 640, 480, {}, compiled), 0)
                << record.name << " with sliders at " << setting;
        }
    }
}

TEST(BuiltinLibraries, EveryDeformationMovesPixelsAndBothBackendsAgree)
{
    std::vector<TFastBMP> images;
    images.push_back(test::PatternImage(160, 120));
    images.push_back(test::PatternImage(97, 131));
    images.push_back(test::MustDecode(test::ProjectData("bmp/rgb24.bmp")));
    images.push_back(test::MustDecode(test::ProjectData("hostile/intact.jpg")));
    long totalDiffering = 0, totalPixels = 0;
    for (const DeformationRecord& record : Library("effecte.prg")) {
        for (std::size_t n = 0; n < images.size(); ++n) {
            const TFastBMP& image = images[n];
            WarpOptions reference;
            reference.backend = FormulaBackend::Reference;
            reference.randomSeed = 77;
            std::vector<WarpOptions> fastOptions(1);
            fastOptions[0].isa = FastIsa::Sse2;
            if (HostHasAvx2()) {
                fastOptions.emplace_back();
                fastOptions[1].isa = FastIsa::Avx2;
            }
            TFastBMP expected(image.Width, image.Height);
            ASSERT_EQ(ApplyDeformation(expected, image, record.Params(), White, reference).status, WarpStatus::Done);
            if (n < 2) {
                EXPECT_FALSE(expected.SamePixels(image)) << record.name << " moves no pixel";
            }
            for (WarpOptions& options : fastOptions) {
                options.randomSeed = 77;
                TFastBMP fast(image.Width, image.Height);
                ApplyDeformation(fast, image, record.Params(), White, options);
                long differing = 0;
                for (int y = 0; y < image.Height; ++y)
                    for (int x = 0; x < image.Width; ++x)
                        differing += fast.Pixel(x, y) != expected.Pixel(x, y);
                EXPECT_EQ(differing, 0) << record.name << " on image " << n;
                totalDiffering += differing;
                totalPixels += static_cast<long>(image.Width) * image.Height;
            }
        }
    }
    if (std::getenv("KRT_VERBOSE"))
        std::printf("built-in deformations: %ld of %ld pixels differ between the backends\n", totalDiffering,
                    totalPixels);
}

} // namespace
} // namespace krt
