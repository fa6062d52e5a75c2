#include "paint/Stroke.h"
#include "document/Undo.h"
#include "paint/Brushes.h"
#include "paint/RasterLine.h"
#include "support/EditorFixture.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace krt {
namespace {

using test::CountPixels;
using test::NewEditor;

// Starts a stroke the way a press does: backup, then a single dab.
void Click(Editor& e, int x, int y)
{
    SaveBackup(e);
    ClearPaintMap(e);
    PaintSegment(e, x, y, x, y);
}

TEST(Brushes, DrawnCirclesAreTheListedRuns)
{
    const std::pair<int, std::vector<int>> cases[] = {
        {1, {1}},
        {3, {1, 3, 1}},
        {5, {3, 5, 5, 5, 3}},
        {10, {4, 6, 8, 10, 10, 10, 10, 8, 6, 4}},
        {20, {6, 10, 14, 16, 16, 18, 18, 20, 20, 20, 20, 20, 20, 18, 18, 16, 16, 14, 10, 6}},
    };
    for (const auto& [size, runs] : cases)
        EXPECT_EQ(BrushFootprint(BrushShape::Circle, size).runLength, runs) << size;
}

TEST(Brushes, EveryFootprintIsCentredAndSymmetric)
{
    for (BrushShape shape : {BrushShape::Circle, BrushShape::Square})
        for (int size = 1; size <= MaxBrushSize; ++size) {
            const BrushMask& m = BrushFootprint(shape, size);
            ASSERT_EQ(static_cast<int>(m.runLength.size()), size);
            for (int r = 0; r < size; ++r) {
                const int run = m.runLength[static_cast<std::size_t>(r)];
                EXPECT_EQ((run - size) % 2, 0) << static_cast<int>(shape) << " " << size << " row " << r;
                EXPECT_EQ(m.runStart[static_cast<std::size_t>(r)] * 2 + run, size);
                EXPECT_EQ(run, m.runLength[static_cast<std::size_t>(size - 1 - r)]);
                if (shape == BrushShape::Square) {
                    EXPECT_EQ(run, size);
                }
            }
        }
}

TEST(RasterLine, WalksEachMajorAxisAndSkipsPointsOutside)
{
    std::vector<std::pair<int, int>> points;
    WalkLine(0, 0, 4, 2, [&](int x, int y) { points.emplace_back(x, y); });
    EXPECT_EQ(points, (std::vector<std::pair<int, int>>{{0, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 2}}));
    points.clear();
    WalkLine(0, 0, -2, -2, [&](int x, int y) { points.emplace_back(x, y); });
    EXPECT_EQ(points, (std::vector<std::pair<int, int>>{{0, 0}, {-1, -1}, {-2, -2}}));
    points.clear();
    RasterLine(3, 3, -2, 1, 4, 1, [&](int x, int y) { points.emplace_back(x, y); });
    EXPECT_EQ(points, (std::vector<std::pair<int, int>>{{0, 1}, {1, 1}, {2, 1}}));
}

TEST(CombineColor, BrushModes)
{
    const struct {
        int mode;
        PackedColor o, k, expected;
    } cases[] = {
        {0, PackRGB(1, 2, 3), PackRGB(9, 8, 7), PackRGB(9, 8, 7)},
        {1, White, PackRGB(255, 0, 0), PackRGB(0, 255, 255)},
        {2, PackRGB(0xF0, 0x0F, 0xFF), PackRGB(0x3C, 0x3C, 0x3C), PackRGB(0x30, 0x0C, 0x3C)},
        {3, White, PackRGB(255, 128, 0), PackRGB(255, 180, 0)},
        {3, Black, White, Black},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CombineColor(static_cast<BrushMode>(c.mode), c.o, c.k), c.expected) << c.mode;
}

TEST(BlurPixel, AveragesTheNeighboursInsideTheImage)
{
    auto e = NewEditor(3, 3);
    int v = 0;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x, v += 10)
            e->Image.SetPixel(x, y, PackRGB(v, v, v));
    // Corner: 0, 10, 30, 40; edge: 0, 10, 20, 30, 40, 50; centre: all nine.
    EXPECT_EQ(BlurPixel(e->Image, 0, 0), PackRGB(20, 20, 20));
    EXPECT_EQ(BlurPixel(e->Image, 1, 0), PackRGB(25, 25, 25));
    EXPECT_EQ(BlurPixel(e->Image, 1, 1), PackRGB(40, 40, 40));
}

TEST(PaintSegment, PencilClickPaintsTheSize5Circle)
{
    auto e = NewEditor(30, 30);
    Click(*e, 10, 10);
    EXPECT_EQ(CountPixels(e->Image, Black), 21);
    const int runs[5] = {3, 5, 5, 5, 3};
    for (int r = 0; r < 5; ++r)
        for (int x = 5; x < 16; ++x) {
            const bool inside = std::abs(x - 10) <= runs[r] / 2;
            EXPECT_EQ(e->Image.Pixel(x, 8 + r) == Black, inside) << x << "," << 8 + r;
        }
}

TEST(PaintSegment, BrushTintsTheRimInNinths)
{
    auto e = NewEditor(30, 30);
    e->Settings.CurrentTool = Tool::Brush;
    Click(*e, 10, 10);
    // Above the top run (columns 9..11 of row 8): three covered neighbours.
    EXPECT_EQ(e->Image.Pixel(10, 7), PackRGB(170, 170, 170));
    // On the top run: six covered cells around it, itself included.
    EXPECT_EQ(e->Image.Pixel(10, 8), PackRGB(85, 85, 85));
    EXPECT_EQ(e->Image.Pixel(10, 10), Black);
    // A corner outside touches one covered cell diagonally.
    EXPECT_EQ(e->Image.Pixel(7, 8), PackRGB(226, 226, 226));
}

TEST(PaintSegment, TransparencyKeepsPartOfTheOldPixelWithoutCompounding)
{
    auto e = NewEditor(30, 30);
    e->Settings.Transparency = 50;
    Click(*e, 10, 10);
    EXPECT_EQ(e->Image.Pixel(10, 10), PackRGB(127, 127, 127));
    // Going over the same spot again in the stroke changes nothing.
    PaintSegment(*e, 12, 10, 10, 10);
    PaintSegment(*e, 10, 10, 12, 10);
    EXPECT_EQ(e->Image.Pixel(10, 10), PackRGB(127, 127, 127));
    EXPECT_EQ(e->Image.Pixel(13, 10), PackRGB(127, 127, 127));
}

TEST(PaintSegment, EraserPaintsTheBackgroundAndBlurReadsTheBackup)
{
    auto e = NewEditor(30, 30, Black);
    e->Settings.CurrentTool = Tool::Eraser;
    Click(*e, 10, 10);
    EXPECT_EQ(e->Image.Pixel(10, 10), White);

    auto b = NewEditor(9, 9);
    b->Image.SetPixel(4, 4, Black);
    b->Settings.BrushMode = BrushMode::Blur;
    Click(*b, 4, 4);
    EXPECT_EQ(b->Image.Pixel(4, 4), PackRGB(226, 226, 226)); // 8 x 255 / 9
    EXPECT_EQ(b->Image.Pixel(3, 4), PackRGB(226, 226, 226)); // not the blurred neighbour
}

TEST(PaintSegment, FootprintCellsOutsideTheImageAreDropped)
{
    auto e = NewEditor(30, 30);
    Click(*e, 1, 10); // the left column of the three middle rows falls outside
    EXPECT_EQ(CountPixels(e->Image, Black), 18);
    auto corner = NewEditor(30, 30);
    Click(*corner, 0, 0);
    EXPECT_EQ(CountPixels(corner->Image, Black), 8); // runs 5, 3 from the centre row and below
}

TEST(PaintSegment, PaintsOnlyTheSelection)
{
    auto e = NewEditor(30, 30);
    e->Selection.Select({0, 10, 10, 1});
    for (int x = 0; x < 10; ++x)
        e->Selection.SelectionMask[static_cast<std::size_t>(10) * 30 + x] = 1;
    Click(*e, 10, 10);
    EXPECT_EQ(CountPixels(e->Image, Black), 2); // row 10, columns 8 and 9
}

// The stroke painter against the rule it implements, followed literally:
// coverage is every footprint cell's line, and every candidate of the
// widened, swept box gets its value from the coverage of its neighbourhood.
void ReferenceSegment(Editor& e, int x, int y, int px, int py)
{
    const EditorSettings& s = e.Settings;
    const int size = s.BrushSize, h = size / 2, en = size - h, w = e.Image.Width, ht = e.Image.Height;
    const BrushMask& mask = BrushFootprint(s.BrushShape, size);
    for (int r = 0; r < size; ++r)
        for (int c = 0; c < size; ++c)
            if (mask.Cell(r, c))
                RasterLine(w, ht, x - h + c, y - h + r, px - h + c, py - h + r,
                           [&](int lx, int ly) { e.Buffers.PaintMap[static_cast<std::size_t>(ly) * w + lx] = 1; });
    std::set<std::pair<int, int>> candidates;
    for (int u = -h - 2; u <= en + 1; ++u)
        for (int v = -h - 2; v <= en + 1; ++v)
            RasterLine(w, ht, x + u, y + v, px + u, py + v, [&](int cx, int cy) { candidates.insert({cx, cy}); });
    for (const auto& [c, r] : candidates) {
        int n = 0;
        for (int rr = std::max(r - 1, 0); rr <= std::min(r + 1, ht - 1); ++rr)
            for (int cc = std::max(c - 1, 0); cc <= std::min(c + 1, w - 1); ++cc)
                n += e.Buffers.PaintMap[static_cast<std::size_t>(rr) * w + cc];
        const PackedColor o = e.BackupImage.Pixel(c, r);
        const PackedColor p = CombineColor(s.BrushMode, o, s.ForeColor);
        PackedColor out = 0;
        for (int ch = 0; ch < 3; ++ch) {
            const int oc = static_cast<int>((o >> (8 * ch)) & 0xFF), pc = static_cast<int>((p >> (8 * ch)) & 0xFF);
            const int soft = (n * pc + (9 - n) * oc) / 9;
            out |= static_cast<PackedColor>((s.Transparency * oc + (100 - s.Transparency) * soft) / 100) << (8 * ch);
        }
        e.Image.SetPixel(c, r, out);
    }
}

TEST(PaintSegment, AgreesWithTheLiteralRuleOnRandomStrokes)
{
    std::mt19937 random(7);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    for (int trial = 0; trial < 40; ++trial) {
        auto fast = NewEditor(40, 30);
        auto slow = NewEditor(40, 30);
        const int size = trial % 2 ? pick(1, 12) : 20;
        for (Editor* e : {fast.get(), slow.get()}) {
            std::mt19937 fill(static_cast<unsigned>(trial));
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 40; ++x)
                    e->Image.SetPixel(x, y, static_cast<PackedColor>(fill()) & 0xFFFFFF);
            e->Settings.CurrentTool = Tool::Brush;
            e->Settings.BrushSize = size;
            e->Settings.BrushShape = trial % 3 == 0 ? BrushShape::Square : BrushShape::Circle;
            e->Settings.BrushMode = static_cast<BrushMode>(trial % 4);
            e->Settings.Transparency = trial % 5 * 20;
            e->Settings.ForeColor = PackRGB(200, 30, 90);
            SaveBackup(*e);
            ClearPaintMap(*e);
        }
        int x = pick(-5, 44), y = pick(-5, 34);
        for (int step = 0; step < 4; ++step) {
            const int nx = pick(-5, 44), ny = pick(-5, 34);
            PaintSegment(*fast, nx, ny, x, y);
            ReferenceSegment(*slow, nx, ny, x, y);
            x = nx;
            y = ny;
        }
        ASSERT_TRUE(fast->Image.SamePixels(slow->Image)) << "trial " << trial;
    }
}

} // namespace
} // namespace krt
