#include "core/FastBMP.h"
#include "core/KrtError.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

namespace krt {
namespace {

using test::PatternImage;

TEST(FastBMP, RowLayoutIsPaddedAndStoredBottomUp)
{
    struct Case {
        int width, rowBytes, rowPad;
    };
    for (const Case c : {Case{1, 4, 1}, Case{2, 8, 2}, Case{3, 12, 3}, Case{4, 12, 0}, Case{5, 16, 1}}) {
        TFastBMP b(c.width, 3);
        EXPECT_EQ(b.RowBytes, c.rowBytes) << "width " << c.width;
        EXPECT_EQ(b.RowPad, c.rowPad) << "width " << c.width;
        EXPECT_EQ(b.DataSize, c.rowBytes * 3);
        ASSERT_EQ(b.RowTable.size(), 3u);
        EXPECT_EQ(b.RowTable[0], b.PixelData + 2 * c.rowBytes) << "the top row is stored last";
        EXPECT_EQ(b.RowTable[2], b.PixelData);
    }
}

TEST(FastBMP, ABufferOfNoWidthStillHasItsRows)
{
    TFastBMP b(0, 5);
    ASSERT_EQ(b.RowTable.size(), 5u);
    EXPECT_EQ(b.DataSize, 0);
    b.FillBlock(0, 0, 3, 3, 0x123456);
    TFastBMP copy;
    copy.CopyFrom(b);
    EXPECT_EQ(copy.RowTable.size(), 5u);
    EXPECT_EQ(TFastBMP(0, 0).RowTable.size(), 0u);
}

TEST(FastBMP, AllocateKeepsPixelsOnlyAtTheSameSize)
{
    TFastBMP b = PatternImage(7, 5);
    const PackedColor before = b.Pixel(3, 2);
    b.Allocate(7, 5);
    EXPECT_EQ(b.Pixel(3, 2), before);
    b.Allocate(5, 7);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 5; ++x)
            ASSERT_EQ(b.Pixel(x, y), Black);
}

TEST(FastBMP, RefusesImpossibleSizesAndStaysUsable)
{
    TFastBMP b = PatternImage(4, 4);
    for (auto [w, h] : {std::pair{32768, 1}, std::pair{1, 40000}, std::pair{-1, 5}}) {
        EXPECT_THROW(b.Allocate(w, h), KrtError);
        EXPECT_EQ(b.Width, 4);
        EXPECT_EQ(b.Pixel(1, 1), PatternImage(4, 4).Pixel(1, 1));
    }
    TFastBMP widest(MaxImageSide, 1);
    EXPECT_EQ(widest.Width, MaxImageSide);
}

TEST(FastBMP, CopyFromTakesSizeAndPixels)
{
    const TFastBMP src = PatternImage(6, 3);
    TFastBMP dst(2, 2);
    dst.CopyFrom(src);
    EXPECT_TRUE(dst.SamePixels(src));
}

// Expected enlargement: target column x shows the last source column whose block
// (starting at trunc(ratio * j), `block` wide) covers x.
int EnlargedSource(int x, double ratio, int block, int sourceSize)
{
    int found = -1;
    for (int j = 0; j < sourceSize; ++j) {
        const int start = static_cast<int>(ratio * j);
        if (x >= start && x < start + block)
            found = j;
    }
    return found;
}

TEST(FastBMP, ScaleIntoEnlargesByReplicatingBlocks)
{
    struct Case {
        int sw, sh, tw, th, bw, bh;
    };
    // 2 -> 6 is a ratio of 3 and blocks of 4; 3 -> 7 (2.33) gives 3; 2 -> 5 (2.5) gives 3;
    // a ratio of exactly 1 gives overlapping blocks of 2.
    for (const Case c : {Case{2, 2, 6, 6, 4, 4}, Case{3, 2, 7, 5, 3, 3}, Case{4, 4, 4, 9, 2, 3}}) {
        const TFastBMP src = PatternImage(c.sw, c.sh);
        TFastBMP dst(c.tw, c.th);
        dst.Fill(PackRGB(1, 2, 3));
        src.ScaleInto(dst);
        const double rx = static_cast<float>(c.tw) / static_cast<float>(c.sw);
        const double ry = static_cast<float>(c.th) / static_cast<float>(c.sh);
        for (int y = 0; y < c.th; ++y)
            for (int x = 0; x < c.tw; ++x) {
                const int sx = EnlargedSource(x, rx, c.bw, c.sw);
                const int sy = EnlargedSource(y, ry, c.bh, c.sh);
                ASSERT_GE(sx, 0);
                ASSERT_GE(sy, 0);
                ASSERT_EQ(dst.Pixel(x, y), src.Pixel(sx, sy)) << c.sw << "->" << c.tw << " at " << x << "," << y;
            }
    }
}

TEST(FastBMP, ScaleIntoShrinksWithFixedPointStepsBothWays)
{
    // Shrinking one way and enlarging the other still steps in 16.16 both ways.
    const TFastBMP src = PatternImage(100, 100);
    TFastBMP dst(50, 200);
    src.ScaleInto(dst);
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(dst.Pixel(x, y), src.Pixel(2 * x, y / 2));

    const TFastBMP odd = PatternImage(7, 3);
    TFastBMP small(3, 2);
    odd.ScaleInto(small);
    const int xstep = 7 * 65536 / 3, ystep = 3 * 65536 / 2;
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(small.Pixel(x, y), odd.Pixel((x * xstep) >> 16, (y * ystep) >> 16));
}

TEST(FastBMP, SmoothScaleIntoWeighsFourNeighbours)
{
    TFastBMP src(2, 2);
    src.SetPixel(0, 0, PackRGB(0, 10, 255));
    src.SetPixel(1, 0, PackRGB(100, 10, 255));
    src.SetPixel(0, 1, PackRGB(200, 10, 255));
    src.SetPixel(1, 1, PackRGB(40, 10, 255));
    TFastBMP dst(4, 4);
    src.SmoothScaleInto(dst);
    EXPECT_EQ(dst.Pixel(0, 0), src.Pixel(0, 0));
    // Step 8192 (a quarter): weights 18432, 6144, 6144 and 2048 out of 32768.
    EXPECT_EQ(RedOf(dst.Pixel(1, 1)), (6144 * 100 + 6144 * 200 + 2048 * 40) >> 15);
    // Constant channels stay exactly constant: the weights always sum to 32768.
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(GreenOf(dst.Pixel(x, y)), 10);
            EXPECT_EQ(BlueOf(dst.Pixel(x, y)), 255);
        }

    const TFastBMP column = PatternImage(1, 5);
    TFastBMP nearest(3, 9), smooth(3, 9);
    column.ScaleInto(nearest);
    column.SmoothScaleInto(smooth);
    EXPECT_TRUE(smooth.SamePixels(nearest)) << "a 1-pixel-wide source scales by nearest neighbour";
}

TEST(FastBMP, CopyBlockIntoClipsAgainstBothBuffers)
{
    struct Case {
        int dx, dy, w, h, sx, sy;
        int firstDx, firstDy, firstSx, firstSy, copiedW, copiedH;
    };
    const Case cases[] = {
        {2, 1, 3, 2, 0, 0, 2, 1, 0, 0, 3, 2},  // plain copy
        {-2, 0, 4, 1, 1, 1, 0, 0, 3, 1, 2, 1}, // negative target x shifts the source and narrows
        {0, -1, 2, 3, 0, 0, 0, 0, 0, 1, 2, 2}, // negative target y
        {1, 1, 4, 4, -1, 0, 2, 1, 0, 0, 3, 4}, // negative source x moves the target
        {5, 5, 9, 9, 0, 0, 5, 5, 0, 0, 3, 3},  // cut by the target's size
        {0, 0, 9, 9, 6, 0, 0, 0, 6, 0, 2, 6},  // cut by the source's size
    };
    const TFastBMP src = PatternImage(8, 6);
    for (const Case& c : cases) {
        TFastBMP dst(8, 8);
        src.CopyBlockInto(dst, c.dx, c.dy, c.w, c.h, c.sx, c.sy);
        int copied = 0;
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside =
                    x >= c.firstDx && x < c.firstDx + c.copiedW && y >= c.firstDy && y < c.firstDy + c.copiedH;
                if (inside) {
                    ASSERT_EQ(dst.Pixel(x, y), src.Pixel(c.firstSx + x - c.firstDx, c.firstSy + y - c.firstDy));
                    ++copied;
                } else {
                    ASSERT_EQ(dst.Pixel(x, y), Black) << "outside the block at " << x << "," << y;
                }
            }
        EXPECT_EQ(copied, c.copiedW * c.copiedH);
    }
    TFastBMP dst(4, 4);
    src.CopyBlockInto(dst, 0, 0, 4, 4, 8, 0); // source x beyond the last column
    src.CopyBlockInto(dst, 0, 0, 4, 4, 0, 6);
    EXPECT_TRUE(dst.SamePixels(TFastBMP(4, 4)));
}

TEST(FastBMP, CopyBlockIntoItselfMovesOverlappingRows)
{
    TFastBMP b = PatternImage(6, 2);
    const TFastBMP original = PatternImage(6, 2);
    b.CopyBlockInto(b, 1, 0, 5, 2, 0, 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 1; x < 6; ++x)
            EXPECT_EQ(b.Pixel(x, y), original.Pixel(x - 1, y));
}

TEST(FastBMP, TileIntoRepeatsFromTheTopLeft)
{
    const TFastBMP tile = PatternImage(3, 2);
    TFastBMP target(10, 7);
    tile.TileInto(target);
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(target.Pixel(x, y), tile.Pixel(x % 3, y % 2));
}

TEST(FastBMP, FillBlockClampsAndOrdersCorners)
{
    TFastBMP b(5, 4);
    b.FillBlock(7, -3, 2, 1, White); // right of and above the buffer, corners swapped
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(b.Pixel(x, y), (x >= 2 && y <= 1) ? White : Black) << x << "," << y;
    TFastBMP empty;
    empty.FillBlock(0, 0, 3, 3, White); // must not touch memory
    EXPECT_TRUE(empty.Empty());
}

TEST(FastBMP, DrawLinePlotsBothEndsAndNothingWhenOutside)
{
    struct Case {
        int x1, y1, x2, y2;
        std::set<std::pair<int, int>> points;
    };
    const Case cases[] = {
        {0, 0, 3, 1, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        {3, 1, 0, 0, {{3, 1}, {2, 1}, {1, 0}, {0, 0}}},
        {1, 0, 2, 3, {{1, 0}, {1, 1}, {2, 2}, {2, 3}}},
        {2, 2, 2, 2, {{2, 2}}},
        {0, 0, 3, 3, {{0, 0}, {1, 1}, {2, 2}, {3, 3}}},
        {0, 0, 4, 1, {}}, // (4, 1) lies outside a 4-wide buffer: no clipping, nothing drawn
    };
    for (const Case& c : cases) {
        TFastBMP b(4, 4);
        b.DrawLine(c.x1, c.y1, c.x2, c.y2, White);
        std::set<std::pair<int, int>> drawn;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                if (b.Pixel(x, y) == White)
                    drawn.insert({x, y});
        EXPECT_EQ(drawn, c.points) << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
    }
}

TEST(FastBMP, MovingLeavesTheSourceEmpty)
{
    TFastBMP a = PatternImage(3, 3);
    TFastBMP b(std::move(a));
    EXPECT_EQ(b.Width, 3);
    EXPECT_TRUE(a.Empty()); // NOLINT(bugprone-use-after-move)
    EXPECT_EQ(a.PixelData, nullptr);
}

} // namespace
} // namespace krt
