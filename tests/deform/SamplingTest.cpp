// Warps that sample between pixels: bilinear and bicubic reading, edge modes
// and supersampling, against literal per-sample arithmetic.

#include "deform/DeformationPreview.h"
#include "deform/Warp.h"
#include "deform/formula/FastBackend.h"
#include "support/DeformParams.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

namespace krt {
namespace {

using test::Params;

constexpr PackedColor Background = PackRGB(1, 2, 3);

TFastBMP Warp(const TFastBMP& src, const char* pair, WarpQuality quality, bool cartesian = true,
              FormulaBackend backend = FormulaBackend::Fast, int threads = 0, bool source = true,
              FastIsa isa = FastIsa::Auto)
{
    WarpOptions options;
    options.isa = isa;
    options.quality = quality;
    options.backend = backend;
    options.threads = threads;
    TFastBMP dst(src.Width, src.Height);
    EXPECT_EQ(ApplyDeformation(dst, src, Params(pair, cartesian, source), Background, options).status,
              WarpStatus::Done);
    return dst;
}

TFastBMP RandomPicture(int w, int h, unsigned seed)
{
    std::mt19937 random(seed);
    TFastBMP p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.SetPixel(x, y, PackRGB(random() & 255, random() & 255, random() & 255));
    return p;
}

const Sampling Samplings[] = {Sampling::Nearest, Sampling::Bilinear, Sampling::Bicubic};
const EdgeMode Edges[] = {EdgeMode::Background, EdgeMode::Clamp, EdgeMode::Wrap, EdgeMode::Mirror};

// A mapping by whole pixels gives exactly the source's pixels with every
// sampling and edge mode, and a picture of one colour stays that colour
// under any warp and supersampling when the edges repeat the picture.
TEST(Sampling, WholePixelsAreExactAndOneColourStaysOne)
{
    const TFastBMP src = RandomPicture(37, 29, 1);
    TFastBMP flat(37, 29);
    flat.Fill(PackRGB(90, 160, 220));
    for (Sampling sampling : Samplings)
        for (EdgeMode edge : Edges) {
            const WarpQuality q{sampling, 1, edge};
            const TFastBMP identity = Warp(src, "x|y", q);
            EXPECT_TRUE(identity.SamePixels(src)) << int(sampling) << " " << int(edge);
            const TFastBMP shifted = Warp(src, "x+3|y-2", q);
            for (int y = 2; y < 29; ++y)
                for (int x = 0; x + 3 < 37; ++x)
                    ASSERT_EQ(shifted.Pixel(x, y), src.Pixel(x + 3, y - 2)) << int(sampling) << " at " << x << "," << y;
            if (edge == EdgeMode::Background)
                continue;
            for (int samples : {1, 2, 4})
                for (const auto& [pair, cartesian] :
                     {std::pair{"x*0.7+y*0.2+3.3|y*1.3-x*0.4", true}, std::pair{"t+r/9|r*0.8", false}})
                    EXPECT_TRUE(Warp(flat, pair, {sampling, samples, edge}, cartesian).SamePixels(flat))
                        << pair << " " << int(sampling) << " " << samples;
        }
}

// Pixel (i, j) is the value at the point (i, j): a shift by a fraction reads
// the neighbours with the weights of the kernel, checked against the
// arithmetic written out; bicubic is Keys' kernel with a = -0.5.
TEST(Sampling, FractionsWeighTheNeighbours)
{
    const TFastBMP src = RandomPicture(23, 19, 2);
    auto keys = [](double t) {
        t = std::abs(t);
        return t <= 1 ? 1.5 * t * t * t - 2.5 * t * t + 1 : t < 2 ? -0.5 * t * t * t + 2.5 * t * t - 4 * t + 2 : 0.0;
    };
    const double fx = 0.3, fy = 0.6; // x + 2.3, y - 1.4: floor y - 2, fraction 0.6
    for (Sampling sampling : {Sampling::Bilinear, Sampling::Bicubic}) {
        const bool cubic = sampling == Sampling::Bicubic;
        const TFastBMP out = Warp(src, "x+2.3|y-1.4", {sampling, 1, EdgeMode::Clamp});
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 23; ++x)
                for (int c = 0; c < 3; ++c) {
                    double want = 0;
                    for (int j = cubic ? -1 : 0; j <= (cubic ? 2 : 1); ++j)
                        for (int i = cubic ? -1 : 0; i <= (cubic ? 2 : 1); ++i) {
                            const double w =
                                cubic ? keys(i - fx) * keys(j - fy) : (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
                            const int sx = std::clamp(x + 2 + i, 0, 22), sy = std::clamp(y - 2 + j, 0, 18);
                            want += w * src.PixelAddress(sx, sy)[c];
                        }
                    want = std::clamp(std::round(want), 0.0, 255.0);
                    ASSERT_NEAR(out.PixelAddress(x, y)[c], want, 1)
                        << (cubic ? "bicubic" : "bilinear") << " at " << x << "," << y;
                }
    }
}

// What a sample 20 pixels left of the picture reads under each edge mode.
TEST(Sampling, EdgeModesOnAShiftOfTwentyPixels)
{
    const TFastBMP src = RandomPicture(50, 6, 3);
    struct Case {
        EdgeMode edge;
        int (*column)(int x); // the source column destination column x < 20 shows, -1 for the background
    };
    const Case cases[] = {
        {EdgeMode::Background, [](int) { return -1; }},
        {EdgeMode::Clamp, [](int) { return 0; }},
        {EdgeMode::Wrap, [](int x) { return 30 + x; }},
        {EdgeMode::Mirror, [](int x) { return 19 - x; }},
    };
    for (const Case& c : cases)
        for (Sampling sampling : Samplings) {
            const TFastBMP out = Warp(src, "x-20|y", {sampling, 1, c.edge});
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 50; ++x) {
                    const int column = x >= 20 ? x - 20 : c.column(x);
                    ASSERT_EQ(out.Pixel(x, y), column < 0 ? Background : src.Pixel(column, y))
                        << int(c.edge) << " " << int(sampling) << " at " << x << "," << y;
                }
        }
}

// Nearest reading with an edge mode keeps the warp's own rule inside the
// picture (Cartesian truncates, polar rounds halves up): where every point
// lands inside, it gives the plain warp's bytes.
TEST(Sampling, NearestKeepsTheWarpsOwnRule)
{
    const TFastBMP src = RandomPicture(67, 45, 8);
    for (const auto& [pair, cartesian] : {std::pair{"x*0.9+3.3|y*0.8+2.7", true}, std::pair{"x*0.5+y*0.25|y*0.5", true},
                                          std::pair{"t+r/40|r*0.45", false}, std::pair{"t-0.2|r*0.5+0.5", false}})
        for (EdgeMode edge : {EdgeMode::Clamp, EdgeMode::Wrap})
            EXPECT_TRUE(
                Warp(src, pair, {Sampling::Nearest, 1, edge}, cartesian).SamePixels(Warp(src, pair, {}, cartesian)))
                << pair << " " << int(edge);
}

// Supersampling averages n x n points of each destination pixel: shrinking a
// one-pixel checkerboard by 2 gives its mean grey, which one sample cannot.
TEST(Sampling, SupersamplingAveragesThePixelsArea)
{
    TFastBMP board(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            board.SetPixel(x, y, (x + y) % 2 ? White : Black);
    const TFastBMP one = Warp(board, "x*2|y*2", {Sampling::Nearest, 1, EdgeMode::Clamp});
    EXPECT_EQ(one.Pixel(10, 10), Black) << "one sample per pixel hits the same squares";
    for (int samples : {2, 4}) {
        const TFastBMP out = Warp(board, "x*2|y*2", {Sampling::Nearest, samples, EdgeMode::Clamp});
        // (Column and row 0 gather their points from -1 < v < 0 and from 0
        // alike: the Cartesian rule truncates toward zero.)
        for (int y = 1; y < 32; ++y)
            for (int x = 1; x < 32; ++x)
                ASSERT_NEAR(RedOf(out.Pixel(x, y)), 128, 1) << samples << " at " << x << "," << y;
    }
}

// Adaptive supersampling takes one sample where the warp does not shrink
// (the identity stays exact) and about k x k where it shrinks by k: a
// pattern of one lit column in four, shrunk by 4, averages to a quarter.
TEST(Sampling, AdaptiveFollowsTheShrink)
{
    const TFastBMP src = RandomPicture(40, 30, 5);
    EXPECT_TRUE(Warp(src, "x|y", {Sampling::Bilinear, Adaptive, EdgeMode::Background}).SamePixels(src));
    TFastBMP columns(128, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 128; ++x)
            columns.SetPixel(x, y, x % 4 == 0 ? White : Black);
    const TFastBMP out = Warp(columns, "x*4|y*4", {Sampling::Nearest, Adaptive, EdgeMode::Clamp});
    for (int y = 1; y < 16; ++y)
        for (int x = 1; x < 32; ++x)
            ASSERT_EQ(RedOf(out.Pixel(x, y)), 64) << "at " << x << "," << y;
    // The choice is per pixel: in one row, the unwarped left part stays
    // exact beside a part shrunk by 4 (x' = 4x - 192 from column 64 on).
    const TFastBMP half = Warp(columns, "x+3*(x-64+abs(x-64))/2|y", {Sampling::Nearest, Adaptive, EdgeMode::Clamp});
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 63; ++x)
            ASSERT_EQ(half.Pixel(x, y), columns.Pixel(x, y)) << "at " << x << "," << y;
        for (int x = 65; x < 79; ++x)
            ASSERT_EQ(RedOf(half.Pixel(x, y)), 64) << "at " << x << "," << y;
    }
}

// Target coordinates read between pixels leave no hole: enlarged twice,
// every destination pixel inside the mapped area gets a value (the plain
// rule leaves three in four in the background), halfway pixels the mean of
// their two neighbours; the same bytes on any number of threads.
TEST(Sampling, TargetCoordinatesLeaveNoHoles)
{
    const TFastBMP src = RandomPicture(40, 30, 6);
    const TFastBMP plain = Warp(src, "x*2|y*2", {}, true, FormulaBackend::Fast, 0, false);
    EXPECT_EQ(plain.Pixel(1, 0), Background);
    for (int threads : {1, 3}) {
        const TFastBMP out = Warp(src, "x*2|y*2", {Sampling::Bilinear, 1, EdgeMode::Background}, true,
                                  FormulaBackend::Fast, threads, false);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) {
                ASSERT_NE(out.Pixel(x, y), Background) << "a hole at " << x << "," << y;
                if (x % 2 == 0 && y % 2 == 0) {
                    ASSERT_EQ(out.Pixel(x, y), src.Pixel(x / 2, y / 2)) << "at " << x << "," << y;
                } else if (x % 2 == 1 && y % 2 == 0) {
                    for (int c = 0; c < 3; ++c) {
                        const double mean =
                            (src.PixelAddress(x / 2, y / 2)[c] + src.PixelAddress(x / 2 + 1, y / 2)[c]) / 2.0;
                        ASSERT_NEAR(out.PixelAddress(x, y)[c], mean, 0.51) << "at " << x << "," << y;
                    }
                }
            }
        // Shrunk by 2 in target coordinates, a one-pixel checkerboard read
        // at 2 x 2 points (or adaptively) averages to grey; one point reads
        // black or white. Shrunk by 3, the 3 x 3 points of a pixel (split
        // between blocks of points) hold four or five white ones.
        TFastBMP board(40, 30);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                board.SetPixel(x, y, (x + y) % 2 ? White : Black);
        for (const auto& [pair, shrink, samples, low, high] :
             {std::tuple{"x/2|y/2", 2, 1, 0, 255}, std::tuple{"x/2|y/2", 2, 2, 127, 128},
              std::tuple{"x/2|y/2", 2, Adaptive, 127, 128}, std::tuple{"x/3|y/3", 3, 3, 113, 142},
              std::tuple{"x/3|y/3", 3, Adaptive, 113, 142}}) {
            const TFastBMP shrunk = Warp(board, pair, {Sampling::Bilinear, samples, EdgeMode::Clamp}, true,
                                         FormulaBackend::Fast, threads, false);
            for (int y = 1; y < 30 / shrink - 1; ++y)
                for (int x = 1; x < 40 / shrink - 1; ++x) {
                    const int level = RedOf(shrunk.Pixel(x, y));
                    ASSERT_TRUE(level == low || level == high)
                        << pair << " " << samples << " " << level << " at " << x << "," << y;
                }
        }
        EXPECT_TRUE(Warp(src, "t+0.3|r*1.5", {Sampling::Bicubic, 1, EdgeMode::Clamp}, false, FormulaBackend::Fast,
                         threads, false)
                        .SamePixels(Warp(src, "t+0.3|r*1.5", {Sampling::Bicubic, 1, EdgeMode::Clamp}, false,
                                         FormulaBackend::Fast, 1, false)));
    }
}

// The dialog's preview samples as OK does: the identity shows the preview's
// own pixels, a one-colour picture stays one colour under a swirl.
TEST(Sampling, ThePreviewSamplesAsTheWarp)
{
    const TFastBMP small = RandomPicture(60, 40, 7);
    TFastBMP flat(60, 40);
    flat.Fill(PackRGB(10, 200, 30));
    WarpOptions options;
    options.quality = {Sampling::Bicubic, Adaptive, EdgeMode::Mirror};
    for (const auto& [pair, cartesian] : {std::pair{"x|y", true}, std::pair{"t+r/90|r", false}}) {
        TFastBMP out(60, 40);
        ASSERT_EQ(RenderPreview(Params(pair, cartesian), 600, 400, flat, out, Background, options).status,
                  WarpStatus::Done);
        EXPECT_TRUE(out.SamePixels(flat)) << pair;
    }
    TFastBMP out(60, 40);
    RenderPreview(Params("x|y"), 600, 400, small, out, Background, options);
    EXPECT_LE(test::MaxChannelDifference(out, small), 1);
    // Target coordinates: the preview fills an enlargement without holes, as OK does.
    options.quality = {Sampling::Bilinear, 1, EdgeMode::Background};
    RenderPreview(Params("x*2|y*2", true, false), 600, 400, small, out, Background, options);
    for (int y = 0; y < 38; ++y)
        for (int x = 0; x < 58; ++x)
            ASSERT_NE(out.Pixel(x, y), Background) << "a hole at " << x << "," << y;
}

// The same bytes from both formula backends (within a level: their sines may
// differ in the last bit) and from any number of threads.
TEST(Sampling, BackendsAndThreadsAgree)
{
    const TFastBMP src = RandomPicture(67, 45, 4);
    for (const auto& [pair, cartesian] : {std::pair{"x+5*sin(y/7)|y+4*cos(x/9)", true},
                                          std::pair{"x+2.37|y+0.41", true}, std::pair{"t+r/40|r*0.9+2", false}})
        for (Sampling sampling : Samplings) {
            for (int samples : {1, 2, Adaptive}) {
                const WarpQuality q{sampling, samples, EdgeMode::Mirror};
                const TFastBMP fast = Warp(src, pair, q, cartesian, FormulaBackend::Fast, 1);
                const TFastBMP reference = Warp(src, pair, q, cartesian, FormulaBackend::Reference, 1);
                EXPECT_LE(test::MaxChannelDifference(fast, reference), 1) << pair << " " << int(sampling);
                EXPECT_TRUE(Warp(src, pair, q, cartesian, FormulaBackend::Fast, 3).SamePixels(fast)) << pair;
                // The SSE2 kernels read between pixels exactly as the AVX2 ones.
                if (HostHasAvx2()) {
                    EXPECT_TRUE(
                        Warp(src, pair, q, cartesian, FormulaBackend::Fast, 1, true, FastIsa::Sse2)
                            .SamePixels(Warp(src, pair, q, cartesian, FormulaBackend::Fast, 1, true, FastIsa::Avx2)))
                        << pair << " " << int(sampling);
                }
            }
        }
}

} // namespace
} // namespace krt
