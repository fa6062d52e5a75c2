#include "effects/FilterLibrary.h"
#include "core/DialogPreview.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace krt {
namespace {

TEST(FilterRecords, TheEditorsChecksAndRecord)
{
    const std::pair<const char*, const char*> weights[] = {
        {"", "0"},      {"-", "0"},     {"1a", "0"},        {"a1", "0"},  {" 007 ", "007"},
        {"-12", "-12"}, {"\t5\n", "5"}, {"70000", "70000"}, {"--1", "0"},
    };
    for (const auto& [text, checked] : weights)
        EXPECT_EQ(CheckWeightText(text), checked) << '"' << text << '"';
    const std::pair<const char*, const char*> divisors[] = {
        {"", "1"}, {"0", "1"}, {"00", "1"}, {"-0", "1"}, {"x", "1"}, {"16", "16"}, {"-3", "-3"},
    };
    for (const auto& [text, checked] : divisors)
        EXPECT_EQ(CheckDivisorText(text), checked) << '"' << text << '"';
    EXPECT_EQ(BuildFilterRecord("Blur", {"1", "2", "1", "2", "4", "2", "1", "2", "1"}, "16"),
              "Blur|1,2,1,2,4,2,1,2,1,16");
    EXPECT_EQ(BuildFilterRecord(" Odd", {"", "-", "1a", "", "", "", "", "", ""}, ""), " Odd|0,0,0,0,0,0,0,0,0,1")
        << "the name is kept as typed";
    EXPECT_EQ(FilterNumbers("Blur|1,2,1,2,4,2,1,2,1,16"), "1,2,1,2,4,2,1,2,1,16");
    EXPECT_EQ(FilterNumbers("0,0,0,0,1,0,0,0,0,1"), "0,0,0,0,1,0,0,0,0,1") << "no bar: the whole line";
}

TEST(FilterTable, DeletingTheOnlyUserFilterLeavesTheCountLine)
{
    test::TempFolder folder;
    test::WriteBytes(folder.Path("filtere.prg"), "1\r\nSharpen|0,-1,0,-1,5,-1,0,-1,0,1\r\n");
    test::WriteBytes(folder.Path("ufilter.prg"), "1\r\nMine|1,1,1,1,1,1,1,1,1,9\r\n");
    FilterTable table(folder.Path("filtere.prg").string(), folder.Path("ufilter.prg").string());
    EXPECT_TRUE(table.LoadFilterMenu().empty());
    EXPECT_EQ(table.FilterCount(), 2);
    EXPECT_EQ(table.BuiltinFilterCount(), 1);
    table.DeleteFilter(1);
    const auto bytes = test::ReadBytes(folder.Path("ufilter.prg"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "0\r\n");
    EXPECT_EQ(table.FilterCount(), table.BuiltinFilterCount());
}

TEST(DialogPreview, FitsTheBoxAndLeavesTheTargetAlone)
{
    TFastBMP wide = test::PatternImage(1000, 100);
    wide.SetPixel(0, 0, KeyColor);
    DialogPreview preview(137, 137);
    preview.Prepare(wide);
    EXPECT_EQ(preview.A().Width, 135);
    EXPECT_EQ(preview.A().Height, 13);
    EXPECT_EQ(preview.OffsetY(), (137 - 13) / 2);
    EXPECT_FLOAT_EQ(preview.Scale(), 13.0f / 100.0f);
    EXPECT_EQ(preview.A().Pixel(0, 0), Black) << "the empty cell shows black";
    EXPECT_EQ(wide.Pixel(0, 0), KeyColor) << "in the preview only";
    EXPECT_TRUE(preview.B().SamePixels(preview.A()));
    const TFastBMP& box = preview.Box();
    EXPECT_EQ(box.Width, 137);
    EXPECT_EQ(box.Pixel(5, 2), Black);

    DialogPreview tall(185, 190);
    tall.Prepare(test::PatternImage(50, 400));
    EXPECT_EQ(tall.A().Height, 188);
    EXPECT_EQ(tall.A().Width, static_cast<int>(188.0 / 400 * 50));
}

} // namespace
} // namespace krt
