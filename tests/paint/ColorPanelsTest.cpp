#include "paint/ColorPanels.h"
#include "core/KrtError.h"
#include "paint/ToolTraits.h"

#include <gtest/gtest.h>

namespace krt {
namespace {

TEST(Posterize, StepTablesAndTheStartingIdentity)
{
    const PosterizeTable t = MakePosterizeTable(64);
    const std::pair<int, int> cases[] = {{0, 0},     {31, 0},    {32, 64},   {95, 64},   {96, 128},
                                         {159, 128}, {160, 192}, {223, 192}, {224, 255}, {255, 255}};
    for (const auto& [v, shown] : cases)
        EXPECT_EQ(t[static_cast<std::size_t>(v)], shown) << v;
    const PosterizeTable one = MakePosterizeTable(1);
    EXPECT_EQ(one[10], 11) << "step 1 is not the identity of start-up";
    EXPECT_EQ(one[255], 255);
    EXPECT_EQ(IdentityPosterizeTable()[10], 10);
}

TEST(ColorPanels, SwatchesShowTheColourAndItsPosterisedForm)
{
    EditorSettings s;
    s.ForeColor = PackRGB(40, 90, 200);
    SetPosterize(s, 64, 1, 1);
    ColorPanelImages images;
    RenderColorPanels(s, images);
    EXPECT_EQ(images.foreSwatch.Pixel(3, 3), s.ForeColor);
    EXPECT_EQ(images.foreSwatch.Pixel(30, 3), PackRGB(64, 91, 201));
    EXPECT_EQ(images.backSwatch.Pixel(30, 30), PackRGB(255, 255, 255));
    // Bar G shows the active colour with green running from 0 to 254.
    EXPECT_EQ(images.bars[1].Pixel(0, 4), PackRGB(40, 0, 200));
    EXPECT_EQ(images.bars[1].Pixel(254, 8), PackRGB(40, 254, 200));
    EXPECT_EQ(images.markers[2], 200);
    s.ActiveIsForeground = false;
    RenderColorPanels(s, images);
    EXPECT_EQ(images.markers[0], 255);
}

TEST(ColorPanels, ChooserInputs)
{
    EXPECT_EQ(ParseChannelText("300").value, 255);
    EXPECT_EQ(ParseChannelText("300").correctedText, "255");
    EXPECT_EQ(ParseChannelText("17").correctedText, "");
    EXPECT_THROW(ParseChannelText("."), KrtError);
    EXPECT_EQ(GridColor(GridIndex(8 * 19 + 3, 304)), PackRGB(128, 128, 128)) << "the ninth cell";
    EXPECT_EQ(GridIndex(303, 304), 15);
    EXPECT_EQ(ChannelFromBar(400), 254);
    EXPECT_EQ(ChannelFromBar(-3), 0);
}

TEST(ColorPanels, OptionLists)
{
    EXPECT_EQ(ParseBrushSize("30"), 30);
    EXPECT_EQ(ParseBrushSize("77"), 49);
    EXPECT_EQ(ParseBrushSize("-2"), 0);
    EXPECT_THROW(ParseBrushSize("big"), KrtError);
    std::string text = "50";
    EXPECT_EQ(ParseTransparency(text), 50);
    EXPECT_EQ(text, "50%");
    text = "250%";
    EXPECT_EQ(ParseTransparency(text), 100) << "transparency stays within 0 ... 100";
    text = "x%";
    EXPECT_THROW(ParseTransparency(text), KrtError);
}

TEST(ColorPanels, ToolsAndTheirOptions)
{
    EXPECT_EQ(Traits(Tool::Text).options, static_cast<unsigned>(OptionTransparency)) << "text: transparency only";
    EXPECT_EQ(Traits(Tool::Pencil).options, static_cast<unsigned>(OptionsAll));
    EXPECT_EQ(Traits(Tool::FreeHandSelect).button, std::string("SpeedButton15"));
    EXPECT_EQ(Traits(Tool::Move).cursor, ToolCursor::Move);
    for (int i = 0; i < ToolCount; ++i)
        EXPECT_EQ(ToolNumber(AllTools()[static_cast<std::size_t>(i)].tool), i + 1);
}

} // namespace
} // namespace krt
