#include "paint/Fills.h"
#include "paint/ColorPanels.h"
#include "paint/Gradient.h"
#include "paint/SameColor.h"
#include "paint/SelectionShapes.h"
#include "support/EditorFixture.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>

namespace krt {
namespace {

using test::CountPixels;
using test::NewEditor;

constexpr PackedColor Red = PackRGB(255, 0, 0);
constexpr PackedColor Blue = PackRGB(0, 0, 255);

// A 20 x 10 picture: white left half, red right half, a blue pixel at (3, 3).
std::unique_ptr<Editor> TwoHalves()
{
    auto e = NewEditor(20, 10);
    e->Image.FillBlock(10, 0, 19, 9, Red);
    e->Image.SetPixel(3, 3, Blue);
    return e;
}

TEST(FillSameColor, FillsTheFourConnectedRegionOnly)
{
    auto e = TwoHalves();
    e->Settings.ForeColor = Blue;
    FillSameColor(*e, 0, 0);
    EXPECT_EQ(CountPixels(e->Image, Blue), 100);
    EXPECT_EQ(CountPixels(e->Image, Red), 100);
}

TEST(FillSameColor, DoesNothingOnTheFillColourOrOutsideTheSelection)
{
    auto e = TwoHalves();
    e->Settings.ForeColor = Red;
    FillSameColor(*e, 15, 5);
    EXPECT_EQ(CountPixels(e->Image, Red), 100);

    e->Settings.ForeColor = Black;
    SetRectSelection(*e, 0, 0, 4, 9);
    FillSameColor(*e, 8, 8); // not selected
    EXPECT_EQ(CountPixels(e->Image, Black), 0);
    FillSameColor(*e, 0, 0); // stops at the selection border
    EXPECT_EQ(CountPixels(e->Image, Black), 49);
    EXPECT_EQ(e->Image.Pixel(5, 0), White);
}

TEST(FillSameColor, PosterisedColoursCountAsTheSame)
{
    auto e = NewEditor(2, 1);
    e->Image.SetPixel(0, 0, PackRGB(40, 0, 0));
    e->Image.SetPixel(1, 0, PackRGB(90, 0, 0));
    SetPosterize(e->Settings, 64, 1, 1);
    e->Settings.ForeColor = PackRGB(0, 200, 0);
    FillSameColor(*e, 0, 0);
    EXPECT_EQ(e->Image.Pixel(1, 0), PackRGB(0, 200, 0));
}

TEST(FillToBackground, StopsAtBackgroundPixelsAndTheSelection)
{
    auto e = NewEditor(10, 10, Red);
    e->Settings.BackColor = White;
    e->Image.FillBlock(5, 0, 5, 9, White); // a wall
    e->Image.SetPixel(2, 2, Blue);
    FillToBackground(*e, 0, 0);
    EXPECT_EQ(CountPixels(e->Image, Black), 50); // both colours left of the wall
    EXPECT_EQ(CountPixels(e->Image, White), 10);

    auto seedOnBackground = NewEditor(4, 4);
    FillToBackground(*seedOnBackground, 1, 1);
    EXPECT_EQ(CountPixels(seedOnBackground->Image, White), 16);
}

TEST(Replace, EverywhereAndAllButWithinTheSelection)
{
    auto e = TwoHalves();
    e->Settings.BackColor = Black;
    ReplaceColorEverywhere(*e, 12, 0);
    EXPECT_EQ(CountPixels(e->Image, Black), 100);

    auto f = TwoHalves();
    f->Settings.BackColor = Black;
    SetRectSelection(*f, 0, 0, 19, 4);
    ReplaceAllButColor(*f, 12, 0); // white and blue in the top half
    EXPECT_EQ(CountPixels(f->Image, Black), 50);
    EXPECT_EQ(f->Image.Pixel(3, 8), White);

    // Started outside the selection, neither replacement acts.
    for (auto replace : {&ReplaceColorEverywhere, &ReplaceAllButColor}) {
        auto g = TwoHalves();
        g->Settings.BackColor = Black;
        SetRectSelection(*g, 0, 0, 19, 4);
        replace(*g, 12, 8);
        EXPECT_EQ(CountPixels(g->Image, Black), 0);
    }
}

// The fill as the rule states it: pixel by pixel, first in first out, each
// painted as it joins.
void ReferenceFill(Editor& e, int x, int y, bool toBackground)
{
    const EditorSettings& s = e.Settings;
    auto selected = [&](int cx, int cy) { return e.Selection.IsSelected(cx, cy); };
    const PackedColor seed = e.Image.Pixel(x, y);
    if (!selected(x, y) || (toBackground ? SameColor(s, seed, s.BackColor) : SameColor(s, seed, s.ForeColor)))
        return;
    std::vector<char> visited(static_cast<std::size_t>(e.Image.Width) * e.Image.Height, 0);
    auto joins = [&](int cx, int cy) {
        const PackedColor c = e.Image.Pixel(cx, cy);
        return !visited[static_cast<std::size_t>(cy) * e.Image.Width + cx] && selected(cx, cy) &&
               (toBackground ? !SameColor(s, c, s.BackColor) : SameColor(s, c, seed));
    };
    std::deque<std::pair<int, int>> queue{{x, y}};
    visited[static_cast<std::size_t>(y) * e.Image.Width + x] = 1;
    e.Image.SetPixel(x, y, s.ForeColor);
    while (!queue.empty()) {
        const auto [cx, cy] = queue.front();
        queue.pop_front();
        const int nx[4] = {cx - 1, cx, cx + 1, cx}, ny[4] = {cy, cy - 1, cy, cy + 1};
        for (int k = 0; k < 4; ++k)
            if (nx[k] >= 0 && ny[k] >= 0 && nx[k] < e.Image.Width && ny[k] < e.Image.Height && joins(nx[k], ny[k])) {
                visited[static_cast<std::size_t>(ny[k]) * e.Image.Width + nx[k]] = 1;
                e.Image.SetPixel(nx[k], ny[k], s.ForeColor);
                queue.emplace_back(nx[k], ny[k]);
            }
    }
}

TEST(Fills, AgreeWithTheRuleOnRandomPictures)
{
    const PackedColor palette[4] = {White, Red, PackRGB(250, 10, 0), Blue};
    for (int trial = 0; trial < 60; ++trial) {
        std::mt19937 random(static_cast<unsigned>(trial));
        const int w = 5 + static_cast<int>(random() % 40), h = 3 + static_cast<int>(random() % 30);
        auto fast = NewEditor(w, h);
        auto slow = NewEditor(w, h);
        for (Editor* e : {fast.get(), slow.get()}) {
            std::mt19937 fill(static_cast<unsigned>(trial));
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    e->Image.SetPixel(x, y, palette[fill() % (trial % 3 == 0 ? 2 : 4)]);
            if (trial % 4 == 1) {
                SetRectSelection(*e, 1, 1, w / 2, h - 2);
                ASSERT_TRUE(e->Selection.HasSelection());
            }
            if (trial % 5 == 2)
                SetPosterize(e->Settings, 64, 1, 1);
            e->Settings.ForeColor = palette[trial % 4];
            e->Settings.BackColor = palette[(trial + 1) % 4];
        }
        const int x = static_cast<int>(random() % static_cast<unsigned>(w));
        const int y = static_cast<int>(random() % static_cast<unsigned>(h));
        const bool toBackground = trial % 2 == 1;
        if (toBackground)
            FillToBackground(*fast, x, y);
        else
            FillSameColor(*fast, x, y);
        ReferenceFill(*slow, x, y, toBackground);
        ASSERT_TRUE(fast->Image.SamePixels(slow->Image)) << "trial " << trial;
    }
}

TEST(LinearGradient, RunsFromThePressedToTheReleasedPoint)
{
    const struct {
        int x0, y0, x1, y1;
        int probeX, expectedRed;
    } cases[] = {
        {2, 0, 12, 0, 2, 255},  // the pressed point: foreground
        {2, 0, 12, 0, 0, 255},  // before the start: constant
        {2, 0, 12, 0, 12, 0},   // the released point: background
        {2, 0, 12, 0, 19, 0},   // beyond the end
        {2, 0, 12, 0, 7, 127},  // half way
        {12, 0, 2, 0, 12, 254}, // right to left: foreground where pressed (t just below 1: L has 0.0001 added)
        {12, 0, 2, 0, 2, 0},
    };
    for (const auto& c : cases) {
        auto e = NewEditor(20, 3);
        e->Settings.ForeColor = Red;
        e->Settings.BackColor = Black;
        LinearGradient(*e, c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(RedOf(e->Image.Pixel(c.probeX, 1)), c.expectedRed) << c.x0 << "->" << c.x1 << " at " << c.probeX;
    }
}

TEST(LinearGradient, VerticalDragsTransparencyAndSelection)
{
    auto e = NewEditor(3, 11);
    e->Settings.ForeColor = White;
    e->Settings.BackColor = Black;
    LinearGradient(*e, 1, 10, 1, 0);
    EXPECT_EQ(e->Image.Pixel(0, 10), White);
    EXPECT_EQ(e->Image.Pixel(0, 0), Black);
    EXPECT_EQ(RedOf(e->Image.Pixel(0, 5)), 127);

    auto t = NewEditor(10, 1, Black);
    t->Settings.ForeColor = White;
    t->Settings.BackColor = White;
    t->Settings.Transparency = 50;
    SetRectSelection(*t, 0, 0, 4, 0); // one row: shares a row, so no selection
    EXPECT_FALSE(t->Selection.HasSelection());
    LinearGradient(*t, 0, 0, 9, 0);
    EXPECT_EQ(t->Image.Pixel(3, 0), PackRGB(127, 127, 127));

    auto s = NewEditor(10, 4);
    s->Settings.ForeColor = Black;
    SetRectSelection(*s, 0, 0, 4, 3);
    LinearGradient(*s, 0, 0, 9, 0);
    EXPECT_EQ(s->Image.Pixel(0, 0), Black);
    EXPECT_EQ(s->Image.Pixel(5, 0), White);
    // The same point pressed and released draws nothing.
    auto n = NewEditor(4, 4);
    LinearGradient(*n, 1, 1, 1, 1);
    EXPECT_EQ(CountPixels(n->Image, White), 16);
}

TEST(FrameRect, OutlinesWithinTheBuffer)
{
    TFastBMP b(6, 6);
    b.Fill(White);
    FrameRect(b, 4, 4, -3, 1, Black);
    EXPECT_EQ(CountPixels(b, Black), 5 + 5 + 2); // rows 1 and 4 from column 0 to 4, column 4 in rows 2..3
    EXPECT_EQ(b.Pixel(4, 2), Black);
    EXPECT_EQ(b.Pixel(0, 2), White);
}

} // namespace
} // namespace krt
