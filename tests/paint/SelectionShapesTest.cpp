#include "paint/SelectionShapes.h"
#include "document/Undo.h"
#include "paint/FloatingBlock.h"
#include "paint/TextBlock.h"
#include "support/EditorFixture.h"

#include <gtest/gtest.h>

namespace krt {
namespace {

using test::CountPixels;
using test::NewEditor;

constexpr PackedColor Red = PackRGB(255, 0, 0);

int Selected(const Editor& e)
{
    int n = 0;
    for (std::uint8_t m : e.Selection.SelectionMask)
        n += m != 0;
    return n;
}

void ExpectRect(const Editor& e, SelectionBounds r)
{
    EXPECT_TRUE(e.Selection.HasSelection());
    EXPECT_EQ(e.Selection.SelectionRect.x, r.x);
    EXPECT_EQ(e.Selection.SelectionRect.y, r.y);
    EXPECT_EQ(e.Selection.SelectionRect.w, r.w);
    EXPECT_EQ(e.Selection.SelectionRect.h, r.h);
}

TEST(SetRectSelection, IncludesBothCornersAndRefusesAFlatRectangle)
{
    auto e = NewEditor(20, 20);
    SetRectSelection(*e, 8, 9, 2, 3);
    ExpectRect(*e, {2, 3, 7, 7});
    EXPECT_EQ(Selected(*e), 49);
    SetRectSelection(*e, 4, 3, 4, 10);
    EXPECT_FALSE(e->Selection.HasSelection());
}

TEST(SelectSameColor, AnIsolatedPixelIsA1x1Selection)
{
    auto e = NewEditor(9, 9);
    e->Image.SetPixel(4, 5, Red);
    SelectSameColor(*e, 4, 5);
    ExpectRect(*e, {4, 5, 1, 1});
    EXPECT_EQ(Selected(*e), 1);
    SelectSameColor(*e, 0, 0);
    ExpectRect(*e, {0, 0, 9, 9});
    EXPECT_EQ(Selected(*e), 80);
}

// Draws a closed free-hand outline through the points, as the tool does.
void FreeHand(Editor& e, std::vector<std::pair<int, int>> points)
{
    BeginFreeHand(e);
    for (std::size_t i = 1; i < points.size(); ++i)
        FreeHandPath(e, points[i - 1].first, points[i - 1].second, points[i].first, points[i].second);
    FreeHandPath(e, points.front().first, points.front().second, points.back().first, points.back().second);
    FreeHandClose(e);
}

TEST(FreeHand, SelectsTheEnclosedCellsAndTheOutline)
{
    auto e = NewEditor(20, 20);
    FreeHand(*e, {{5, 5}, {14, 5}, {14, 12}, {5, 12}});
    ExpectRect(*e, {5, 5, 10, 8});
    EXPECT_EQ(Selected(*e), 80);
}

TEST(FreeHand, OutlineOnTheFirstRowLetsTheOutsideThrough)
{
    auto e = NewEditor(20, 20);
    // The top edge lies on row 0, where no outline cell is marked: the
    // outside flood runs along it and empties the inside too.
    FreeHand(*e, {{3, 0}, {10, 0}, {10, 6}, {3, 6}});
    EXPECT_EQ(e->Selection.SelectionMask[3 * 20 + 6], 0);
    ExpectRect(*e, {3, 1, 8, 6});
    // An outline on row 0 only leaves nothing: no selection, not an empty one.
    FreeHand(*e, {{0, 0}, {0, 0}});
    EXPECT_FALSE(e->Selection.HasSelection());
}

TEST(HitSelection, FollowsTheOffsetAndNeverHitsColumnZero)
{
    auto e = NewEditor(20, 20);
    SetRectSelection(*e, 0, 0, 5, 5);
    EXPECT_FALSE(HitSelection(*e, 0, 3));
    EXPECT_TRUE(HitSelection(*e, 3, 3));
    EXPECT_TRUE(HitSelection(*e, 6, 6)); // both ends inclusive
    e->Selection.SelectionOffsetX = 10;
    EXPECT_FALSE(HitSelection(*e, 3, 3));
    EXPECT_TRUE(HitSelection(*e, 13, 3));
    e->Selection.Deselect();
    EXPECT_FALSE(HitSelection(*e, 13, 3));
}

TEST(FloatingBlock, MovingOffTheLeftEdgeClipsAndDropsTheVisiblePart)
{
    auto e = NewEditor(20, 10);
    e->Image.FillBlock(4, 2, 7, 5, Red);
    e->Image.SetPixel(5, 3, KeyColor);
    e->Settings.BackColor = PackRGB(0, 0, 255);
    SetRectSelection(*e, 4, 2, 7, 5);
    LiftSelection(*e);
    EXPECT_EQ(e->Image.Pixel(4, 2), Red); // unchanged until the first move
    MoveSelectionBy(*e, 10, 5, 8, 6);     // two left, one down
    EXPECT_EQ(e->Image.Pixel(2, 3), Red);
    EXPECT_EQ(e->Image.Pixel(7, 2), PackRGB(0, 0, 255)); // the hole
    EXPECT_EQ(e->Image.Pixel(3, 4), White);              // the key colour pixel is transparent
    MoveSelectionBy(*e, 8, 6, 4, 6);                     // four more left: two columns remain
    EXPECT_EQ(CountPixels(e->Image, Red), 8);
    const int modified = e->Document.ModifiedCount;
    DropFloating(*e);
    EXPECT_EQ(e->Document.ModifiedCount, modified + 1);
    EXPECT_EQ(e->Selection.SelectionRect.x, 0);
    EXPECT_EQ(e->Selection.SelectionRect.y, 3);
    EXPECT_EQ(Selected(*e), 8);
    EXPECT_EQ(e->Selection.SelectionMask[3 * 20 + 0], 1);
    EXPECT_EQ(e->Selection.SelectionMask[3 * 20 + 2], 0);

    // Moved wholly off the picture and dropped: no selection remains.
    LiftSelection(*e);
    MoveSelectionBy(*e, 0, 0, 30, 0);
    DropFloating(*e);
    EXPECT_FALSE(e->Selection.HasSelection());
}

TEST(FloatingBlock, TransparencyBlendsPlacedTextOnly)
{
    auto e = NewEditor(10, 10, Black);
    e->Settings.Transparency = 50;
    SetRectSelection(*e, 0, 0, 3, 3);
    e->Image.FillBlock(0, 0, 3, 3, White);
    LiftSelection(*e);
    MoveSelectionBy(*e, 0, 0, 5, 5);
    EXPECT_EQ(e->Image.Pixel(6, 6), White); // an ordinary block ignores the option

    auto t = NewEditor(10, 10, Black);
    t->Settings.ForeColor = White;
    t->Settings.Transparency = 50;
    TextInk ink{2, 1, {1, 1}};
    PlaceText(*t, ink, {3, 3}, false);
    EXPECT_EQ(t->Image.Pixel(3, 3), PackRGB(127, 127, 127));
    MoveSelectionBy(*t, 0, 0, 1, 0);
    EXPECT_EQ(t->Image.Pixel(3, 3), Black);
    EXPECT_EQ(t->Image.Pixel(5, 3), PackRGB(127, 127, 127));
    EXPECT_TRUE(DropFloating(*t));
    EXPECT_FALSE(t->Selection.HasSelection());
}

TEST(TextBlock, LayoutAlignmentAndSpacing)
{
    const TextLayout centred = LayOutText({10, 5}, {12, 12}, TextAlign::Center, 3);
    EXPECT_EQ(centred.left, (std::vector<int>{0, 2}));
    EXPECT_EQ(centred.top, (std::vector<int>{0, 15}));
    EXPECT_EQ(centred.width, 10);
    EXPECT_EQ(centred.height, 27);
    EXPECT_EQ(LayOutText({10, 5}, {12, 12}, TextAlign::Right, 0).left, (std::vector<int>{0, 5}));
    EXPECT_EQ(SpacingPixels(10, 96), 13);
}

TEST(TextBlock, SmoothingWeighsCellsInTenths)
{
    auto e = NewEditor(10, 10);
    e->Settings.ForeColor = Black;
    // A 3 x 3 inked square in a 5 x 5 block.
    TextInk ink{5, 5, std::vector<std::uint8_t>(25, 0)};
    for (int r = 1; r <= 3; ++r)
        for (int c = 1; c <= 3; ++c)
            ink.cells[static_cast<std::size_t>(r) * 5 + c] = 1;
    e->Settings.ForeColor = PackRGB(0, 0, 250);
    PlaceText(*e, ink, {2, 2}, true);
    EXPECT_EQ(e->Selection.SelectionMask[2 * 10 + 2], 10); // the centre of the square
    EXPECT_EQ(e->Selection.SelectionMask[0 * 10 + 0], 1);  // a corner touching one inked cell
    EXPECT_EQ(e->Image.Pixel(4, 4), PackRGB(0, 0, 250));
    // Weight 1 fades a tenth of the text colour (not the key colour) into white.
    EXPECT_EQ(e->Image.Pixel(2, 2), PackRGB(229, 229, 254));
    EXPECT_TRUE(e->Selection.SoftMask);
    EXPECT_EQ(e->UndoCount, 1);
    // The text keeps the colour it was placed with.
    e->Settings.ForeColor = Red;
    MoveSelectionBy(*e, 0, 0, 0, 0);
    EXPECT_EQ(e->Image.Pixel(4, 4), PackRGB(0, 0, 250));
}

TEST(InvertSelection, Cases)
{
    auto column = NewEditor(10, 8);
    SetRectSelection(*column, 0, 0, 8, 7);
    EXPECT_TRUE(InvertSelection(*column));
    ExpectRect(*column, {9, 0, 1, 8});

    auto quarter = NewEditor(10, 8);
    SetRectSelection(*quarter, 5, 4, 9, 7);
    EXPECT_TRUE(InvertSelection(*quarter));
    ExpectRect(*quarter, {0, 0, 10, 8});
    EXPECT_EQ(Selected(*quarter), 60);

    auto everything = NewEditor(10, 8);
    EXPECT_FALSE(InvertSelection(*everything)); // no selection: all, then nothing
    EXPECT_FALSE(everything->Selection.HasSelection());
    EXPECT_EQ(everything->Selection.FloatingPixels.Width, 1);
}

} // namespace
} // namespace krt
