#include "deform/Warp.h"
#include "core/ThreadPool.h"
#include "deform/DeformationPreview.h"
#include "support/DeformParams.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <mutex>
#include <unistd.h>

namespace krt {
namespace {

using test::PatternImage;

using test::Params;

constexpr PackedColor Background = PackRGB(1, 2, 3);

TFastBMP Warp(const TFastBMP& src, const DeformationParams& params, WarpOptions options = {})
{
    TFastBMP dst(src.Width, src.Height);
    const WarpResult r = ApplyDeformation(dst, src, params, Background, options);
    EXPECT_EQ(r.status, WarpStatus::Done) << params.formulaPair;
    return dst;
}

// Checks every pixel against expected(x, y): a source column and row, or -1 for the background.
template <class Expected> void ExpectPixels(const TFastBMP& dst, const TFastBMP& src, Expected expected)
{
    for (int y = 0; y < dst.Height; ++y)
        for (int x = 0; x < dst.Width; ++x) {
            const auto [sx, sy] = expected(x, y);
            const PackedColor want = sx < 0 ? Background : src.Pixel(sx, sy);
            ASSERT_EQ(dst.Pixel(x, y), want) << "at " << x << "," << y;
        }
}

TEST(Warp, CartesianExamples)
{
    const TFastBMP src = PatternImage(41, 23);
    const int W = 41;
    ExpectPixels(Warp(src, Params("x|y")), src, [](int x, int y) { return std::pair{x, y}; });
    // Source coordinates: X=x+10 takes each pixel from 10 to its right.
    ExpectPixels(Warp(src, Params("x+10|y")), src, [&](int x, int y) {
        return x + 10 < W ? std::pair{x + 10, y} : std::pair{-1, -1};
    });
    // Target coordinates: the same formula sends each pixel 10 to the right.
    ExpectPixels(Warp(src, Params("x+10|y", true, false)), src, [&](int x, int y) {
        return x >= 10 ? std::pair{x - 10, y} : std::pair{-1, -1};
    });
    // A mirror: column 0 reads column W, outside the image.
    ExpectPixels(Warp(src, Params("w-x|y")), src, [&](int x, int y) {
        return x > 0 ? std::pair{W - x, y} : std::pair{-1, -1};
    });
    // Half size about the centre (w/2 = 20.5 is a fraction).
    ExpectPixels(Warp(src, Params("cx*2+w/2|cy*2+h/2")), src, [&](int x, int y) {
        const float sx = static_cast<float>((x - 20) * 2) + 20.5f;
        const float sy = static_cast<float>((y - 11) * 2) + 11.5f;
        const bool inside = sx > -1 && sx < 41 && sy > -1 && sy < 23;
        return inside ? std::pair{static_cast<int>(sx), static_cast<int>(sy)} : std::pair{-1, -1};
    });
}

TEST(Warp, FormulaFailingEverywhereGivesBackground)
{
    const TFastBMP src = PatternImage(20, 10);
    for (bool source : {true, false})
        ExpectPixels(Warp(src, Params("1/(x-x)|y", true, source)), src, [](int, int) { return std::pair{-1, -1}; });
    ExpectPixels(Warp(src, Params("1/(t-t)|r", false, true)), src, [](int, int) { return std::pair{-1, -1}; });
}

TEST(Warp, PolarIdentity)
{
    const TFastBMP src = PatternImage(60, 40);
    const TFastBMP dst = Warp(src, Params("t|r", false, true));
    int same = 0, rightHalfDiffers = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool equal = dst.Pixel(x, y) == src.Pixel(x, y);
            same += equal;
            // Right of the centre no half turn is added: exact.
            if (x > 30 && !equal)
                ++rightHalfDiffers;
        }
    EXPECT_EQ(rightHalfDiffers, 0);
    EXPECT_GT(same, 60 * 40 * 9 / 10) << "3.142 is close to pi";
}

TEST(Warp, IncorrectFormulaChangesNothing)
{
    const TFastBMP src = PatternImage(10, 10);
    struct Case {
        const char* pair;
        bool cartesian;
        char label;
    };
    for (const Case& c : {Case{"foo(x)|y", true, 'X'}, Case{"x|y+", true, 'Y'}, Case{"x|", true, 'Y'},
                          Case{"t|x", false, 'R'}, Case{"-t|r", false, 'T'}}) {
        for (bool source : {true, false}) {
            TFastBMP dst = PatternImage(10, 10);
            const WarpResult r = ApplyDeformation(dst, src, Params(c.pair, c.cartesian, source), Background);
            EXPECT_EQ(r.status, WarpStatus::IncorrectFormula) << c.pair;
            EXPECT_EQ(r.failedFormula, c.label) << c.pair;
            EXPECT_TRUE(dst.SamePixels(src)) << "a failed compile must leave the target alone";
        }
    }
}

TEST(Warp, TargetModeKeepsTheLastPixelInRowOrderOnEveryThreadCount)
{
    const TFastBMP src = PatternImage(97, 61);
    // Many source pixels land on each target pixel.
    const DeformationParams params = Params("x/3+int(y/7)|y/2", true, false);
    TFastBMP expected(97, 61);
    expected.Fill(Background);
    for (int y = 0; y < 61; ++y)
        for (int x = 0; x < 97; ++x) {
            const int tx = static_cast<int>(static_cast<float>(x) / 3.0f + static_cast<float>(y / 7));
            const int ty = static_cast<int>(static_cast<float>(y) / 2.0f);
            expected.SetPixel(tx, ty, src.Pixel(x, y));
        }
    for (int threads : {1, 2, 3, 8}) {
        WarpOptions options;
        options.threads = threads;
        EXPECT_TRUE(Warp(src, params, options).SamePixels(expected)) << threads << " threads";
    }
}

TEST(Warp, CancelRestoresTheTarget)
{
    const TFastBMP src = PatternImage(300, 300);
    TFastBMP dst = PatternImage(300, 300);
    WarpOptions options;
    int calls = 0;
    options.progress = [&calls](double) { return ++calls < 1; };
    for (bool source : {true, false}) {
        const WarpResult r = ApplyDeformation(dst, src, Params("x+sin(y)*100|y", true, source), Background, options);
        EXPECT_EQ(r.status, WarpStatus::Cancelled);
        EXPECT_TRUE(dst.SamePixels(src));
        calls = 0;
    }
}

TEST(Warp, ProgressEndsAtOne)
{
    const TFastBMP src = PatternImage(64, 64);
    WarpOptions options;
    double last = -1;
    options.progress = [&last](double share) {
        EXPECT_GE(share, last);
        last = share;
        return true;
    };
    Warp(src, Params("y|x"), options);
    EXPECT_EQ(last, 1.0);
}

TEST(Warp, RoundCoord)
{
    const std::pair<double, std::int64_t> cases[] = {{2.5, 3},   {2.49, 2},  {0.0, 0}, {-0.5, 0},
                                                     {-0.99, 0}, {-1.7, -1}, {7.0, 7}, {6.5000001, 7}};
    for (const auto& [v, expected] : cases)
        EXPECT_EQ(RoundCoord(v), expected) << v;
}

TEST(Preview, SizeKeepsTheAspectRatio)
{
    struct Case {
        int w, h, pw, ph, ox, oy;
    };
    for (const Case c : {Case{1000, 100, 212, 21, 0, 92}, Case{100, 1000, 20, 204, 97, 0},
                         Case{500, 500, 204, 204, 5, 0}, Case{640, 480, 212, 159, 0, 23}}) {
        const PreviewGeometry g = FitPreviewGeometry(c.w, c.h);
        EXPECT_EQ(g.width, c.pw) << c.w << "x" << c.h;
        EXPECT_EQ(g.height, c.ph) << c.w << "x" << c.h;
        EXPECT_EQ(g.offsetX, c.ox) << c.w << "x" << c.h;
        EXPECT_EQ(g.offsetY, c.oy) << c.w << "x" << c.h;
    }
}

TEST(Preview, FitTurnsKeyColourBlackAndScales)
{
    TFastBMP dst = PatternImage(424, 100);
    dst.SetPixel(0, 0, KeyColor);
    TFastBMP sourcePreview, targetPreview;
    const PreviewGeometry g = FitPreview(dst, sourcePreview, targetPreview);
    EXPECT_EQ(sourcePreview.Width, g.width);
    EXPECT_EQ(dst.Pixel(0, 0), KeyColor) << "the destination is left as it is";
    EXPECT_EQ(sourcePreview.Pixel(0, 0), Black);
    EXPECT_EQ(sourcePreview.Pixel(5, 3), dst.Pixel(10, 6)) << "half size: every second pixel";
    EXPECT_TRUE(targetPreview.SamePixels(sourcePreview));
}

TEST(Preview, WarpsThePreviewLikeTheImage)
{
    const TFastBMP image = PatternImage(424, 408);
    TFastBMP copy = PatternImage(424, 408);
    TFastBMP sourcePreview, targetPreview;
    FitPreview(copy, sourcePreview, targetPreview);
    ASSERT_EQ(sourcePreview.Width, 212);
    // X=x+20 on a half-size preview moves by 10 preview pixels.
    const WarpResult r = RenderPreview(Params("x+20|y"), 424, 408, sourcePreview, targetPreview, Background);
    ASSERT_EQ(r.status, WarpStatus::Done);
    for (int x = 0; x < 212; ++x)
        EXPECT_EQ(targetPreview.Pixel(x, 7), x + 10 < 212 ? sourcePreview.Pixel(x + 10, 7) : Background) << x;
    EXPECT_EQ(RenderPreview(Params("x|y*"), 424, 408, sourcePreview, targetPreview, Background).failedFormula, 'Y');
}

TEST(Preview, FailedPointsShowBackgroundEvenOnWideImages)
{
    // Failure returns -10, which scaled to a preview of a wide image rounds to column 0.
    TFastBMP image = PatternImage(5000, 40);
    TFastBMP sourcePreview, targetPreview;
    FitPreview(image, sourcePreview, targetPreview);
    RenderPreview(Params("1/(x-x)|y"), 5000, 40, sourcePreview, targetPreview, Background);
    for (int x = 0; x < targetPreview.Width; ++x)
        ASSERT_EQ(targetPreview.Pixel(x, 0), Background);
    // Polar unmapped points show the background as the full warp does.
    FitPreview(image, sourcePreview, targetPreview);
    RenderPreview(Params("t|0-r", false, true), 5000, 40, sourcePreview, targetPreview, Background);
    ASSERT_EQ(targetPreview.Height, 1);
    EXPECT_EQ(targetPreview.Pixel(3, 0), Background);
}

} // namespace
} // namespace krt

namespace krt {
namespace {

// The warp in a child process whose address space leaves no room for another
// thread's stack: it must fall back to the threads it has (here the calling
// thread alone) and give the same picture, never abort.
TEST(Warp, ThreadsThatCannotStartLeaveTheWorkToTheOthers)
{
    if (!test::AddressLimitsWork())
        GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit would allow";
    const TFastBMP src = PatternImage(64, 48);
    for (const DeformationParams& params : {Params("x+sin(y/5)*4|y"), Params("x+7|y*1.1", true, false)}) {
        WarpOptions one;
        one.threads = 1;
        const TFastBMP expected = Warp(src, params, one);
        test::ChildLimits limits;
        limits.addressSpaceHeadroom = 2 << 20;
        const test::ChildOutcome result = test::RunInChild(
            [&] {
                // Threads that wait take whatever stacks the C library kept for
                // reuse, so that no further thread can start.
                // (The child ends without joining them.)
                auto* waiting = new ThreadPool;
                while (waiting->Start([] { ::pause(); }))
                    if (waiting->Size() > 64)
                        return 4; // the limit does not stop threads: nothing would be tested
                WarpOptions many;
                many.threads = 16;
                many.progress = [](double) { return true; };
                TFastBMP got(src.Width, src.Height);
                ApplyDeformation(got, src, params, Background, many);
                return got.SamePixels(expected) ? 0 : 3;
            },
            limits);
        ASSERT_TRUE(result.exited) << "the warp died of signal " << result.signal;
        EXPECT_EQ(result.code, 0) << params.formulaPair << " (3: a different picture)";
    }
}

// Points whose formulas fail get the background (source coordinates) or are
// not placed (target coordinates), with either backend.
TEST(Warp, BothBackendsTreatFailedPointsAlike)
{
    const TFastBMP src = PatternImage(50, 40);
    const DeformationParams records[] = {
        Params("t|sqrt(0-r)", false, true),                                         // R fails everywhere but the centre
        Params("t|sqrt(r-12)", false, true),                                        // R fails near the centre
        Params("t/(r-9)|r", false, true),                                           // T fails on one ring
        Params("t|sqrt(r-12)", false, false),                                       // polar target coordinates
        Params("t+0.5|r/(r-10)", false, false), Params("x|sqrt(y-10)", true, true), // Cartesian source, failing rows
        Params("sqrt(x-20)*5|y", true, false),                                      // Cartesian target, failing columns
        Params("x/(x-x)|y", true, true),                                            // fails everywhere
    };
    for (const DeformationParams& params : records) {
        WarpOptions reference, fast;
        reference.backend = FormulaBackend::Reference;
        fast.backend = FormulaBackend::Fast;
        const TFastBMP a = Warp(src, params, reference);
        const TFastBMP b = Warp(src, params, fast);
        EXPECT_TRUE(a.SamePixels(b)) << params.formulaPair << (params.source ? " source" : " target");
    }
}

TEST(ParallelRows, EverySliceRunsOnceWhateverThreadsStart)
{
    std::vector<int> seen(1000, 0);
    std::mutex lock;
    ParallelRows(1000, 7, [&](int from, int to) {
        std::lock_guard guard(lock);
        for (int r = from; r < to; ++r)
            ++seen[static_cast<std::size_t>(r)];
    });
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 1000);
    EXPECT_THROW(ParallelRows(10, 3, [](int, int) { throw std::runtime_error("a row failed"); }), std::runtime_error);
}

} // namespace
} // namespace krt
