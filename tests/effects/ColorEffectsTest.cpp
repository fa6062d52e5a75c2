#include "effects/Buttonize.h"
#include "effects/ColorParams.h"
#include "effects/Emboss.h"
#include "effects/Gamma.h"
#include "effects/Plasma.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace krt {
namespace {

using test::PatternImage;

TFastBMP Levels()
{
    TFastBMP levels(256, 1);
    for (int v = 0; v < 256; ++v)
        levels.SetPixel(v, 0, PackRGB(v, v, v));
    return levels;
}

TEST(Gamma, TheOpeningCurveAndTheWorkedClicks)
{
    const GammaCurve opening = OpeningCurve();
    EXPECT_EQ(opening.a, 10324409.0f);
    EXPECT_EQ(opening.k, -106594083799040.0f);
    EXPECT_EQ(opening.o, 10324473.0f);

    GammaCurves gamma;
    gamma.Recompute();
    // OK right after opening: every level but 0 drops by one.
    for (int v = 1; v < 256; ++v)
        ASSERT_EQ(gamma.tables[0][static_cast<std::size_t>(v)], v - 1) << v;
    EXPECT_EQ(gamma.tables[0][0], 0);

    gamma.curves[0] = *CurveFromGraph(32, 16, true); // b = 48
    EXPECT_EQ(gamma.curves[0].a, 32.0f);
    EXPECT_EQ(gamma.curves[0].k, -3072.0f);
    EXPECT_EQ(gamma.curves[0].o, 96.0f);
    gamma.curves[1] = *CurveFromGraph(32, 48, true); // b = 16
    EXPECT_EQ(gamma.curves[1].a, -96.0f);
    gamma.Recompute();
    EXPECT_FLOAT_EQ(gamma.curves[0].a, 32.001f) << "4a was whole";
    const std::pair<int, int> brighter[] = {{0, 0}, {1, 2}, {64, 128}, {128, 192}, {192, 230}, {254, 255}, {255, 255}};
    for (const auto& [v, out] : brighter)
        EXPECT_EQ(gamma.tables[0][static_cast<std::size_t>(v)], out) << v;
    const std::pair<int, int> darker[] = {{0, 0}, {64, 25}, {128, 64}, {192, 128}, {255, 253}};
    for (const auto& [v, out] : darker)
        EXPECT_EQ(gamma.tables[1][static_cast<std::size_t>(v)], out) << v;

    // The diagonal is moved off; outside the box or without the left button nothing happens.
    EXPECT_TRUE(CurveFromGraph(40, 24, true).has_value());
    EXPECT_FALSE(CurveFromGraph(0, 10, true));
    EXPECT_FALSE(CurveFromGraph(10, 64, true));
    EXPECT_FALSE(CurveFromGraph(10, 10, false));

    TFastBMP out(256, 1);
    ApplyGamma(out, Levels(), gamma);
    EXPECT_EQ(out.Pixel(64, 0), PackRGB(128, 25, 63));
}

TEST(ColorParams, TheWorkedNumbers)
{
    TFastBMP red(1, 1);
    red.SetPixel(0, 0, PackRGB(255, 0, 0));
    Saturation(red, 255);
    EXPECT_EQ(red.Pixel(0, 0), PackRGB(255, 1, 1)) << "the opening positions are not the identity";
    red.SetPixel(0, 0, PackRGB(255, 0, 0));
    Saturation(red, 0);
    EXPECT_EQ(red.Pixel(0, 0), PackRGB(85, 85, 85));

    const ByteTable light = LightnessTable(255);
    EXPECT_EQ(light[0], 254);
    EXPECT_EQ(light[128], 254);
    EXPECT_EQ(light[255], 255);
    const ByteTable contrast = ContrastTable(255);
    const std::pair<int, int> levels[] = {{0, 0}, {64, 1}, {126, 125}, {127, 127}, {128, 128}, {192, 255}, {255, 255}};
    for (const auto& [v, out] : levels)
        EXPECT_EQ(contrast[static_cast<std::size_t>(v)], out) << v;

    // One pass gives what the three operations give in turn, in their order.
    const TFastBMP picture = PatternImage(61, 17);
    for (const auto& [s, l, k] : {std::tuple{200, 40, 90}, std::tuple{0, 255, 255}, std::tuple{255, 0, 0}}) {
        TFastBMP inTurn, together;
        inTurn.CopyFrom(picture);
        together.CopyFrom(picture);
        Saturation(inTurn, s);
        Lightness(inTurn, l);
        Contrast(inTurn, k);
        ApplyColorParams(together, s, l, k);
        EXPECT_TRUE(together.SamePixels(inTurn)) << s << " " << l << " " << k;
    }
    TFastBMP other;
    other.CopyFrom(picture);
    Contrast(other, 90);
    Saturation(other, 200);
    Lightness(other, 40);
    TFastBMP ordered;
    ordered.CopyFrom(picture);
    ApplyColorParams(ordered, 200, 40, 90);
    EXPECT_FALSE(other.SamePixels(ordered)) << "the order matters";
}

TEST(Buttonize, RingsTheirBlendsAndTheLimit)
{
    TFastBMP image(8, 6);
    image.Fill(PackRGB(100, 100, 100));
    Bevel(image, 0, Black, White);
    EXPECT_EQ(image.Pixel(0, 0), PackRGB(100, 100, 100)) << "depth 0 changes nothing";

    const BevelColors pressed = ButtonColors(true);
    Bevel(image, 1, pressed.topLeft, pressed.bottomRight);
    EXPECT_EQ(image.Pixel(0, 3), Black);
    EXPECT_EQ(image.Pixel(3, 0), Black);
    EXPECT_EQ(image.Pixel(7, 0), White) << "top-right corner ends white";
    EXPECT_EQ(image.Pixel(0, 5), White) << "bottom-left corner ends white";
    EXPECT_EQ(image.Pixel(3, 3), PackRGB(100, 100, 100));

    TFastBMP grey(20, 20);
    grey.Fill(PackRGB(128, 128, 128));
    const BevelColors raised = ButtonColors(false);
    Bevel(grey, 4, raised.topLeft, raised.bottomRight);
    const int left[] = {255, 223, 191, 159};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(grey.Pixel(i, 10), PackRGB(left[i], left[i], left[i])) << "ring " << i;

    // A depth of 100 on 30 x 50 is limited to 30 rings: every pixel is touched.
    TFastBMP narrow(30, 50);
    narrow.Fill(PackRGB(128, 128, 128));
    Bevel(narrow, 100, Black, White);
    EXPECT_NE(narrow.Pixel(15, 25), PackRGB(128, 128, 128));
}

TEST(Plasma, RoughnessZeroAndSmallPictures)
{
    // Roughness 0: pure averages of the corners, of which only (0, 0) is not 0.
    TFastBMP smooth(33, 17);
    GeneratePlasma(smooth, 0, 7, White, Black);
    CloudRandom first(7);
    const int corner = static_cast<int>(first.Next() % 255);
    EXPECT_EQ(smooth.Pixel(0, 0), PackRGB(255 - corner, 255 - corner, 255 - corner));
    EXPECT_EQ(smooth.Pixel(32, 16), White) << "the last corner is never a midpoint";
    EXPECT_EQ(smooth.Pixel(16, 0), PackRGB(255 - corner / 2, 255 - corner / 2, 255 - corner / 2));

    TFastBMP one(1, 1);
    GeneratePlasma(one, 10, 99, White, Black);
    CloudRandom single(99);
    const int h = static_cast<int>(single.Next() % 255);
    EXPECT_EQ(one.Pixel(0, 0), PackRGB(255 - h, 255 - h, 255 - h));

    TFastBMP three(3, 3);
    GeneratePlasma(three, 20, 5, PackRGB(10, 20, 30), PackRGB(250, 240, 230));
    for (const auto& [x, y] : {std::pair{2, 0}, std::pair{0, 2}, std::pair{2, 2}})
        EXPECT_EQ(three.Pixel(x, y), PackRGB(10, 20, 30)) << x << "," << y;

    // The same seed gives the same clouds; the generator is the 64-bit one.
    TFastBMP a(200, 120), b(200, 120);
    GeneratePlasma(a, 12, 1234, White, Black);
    GeneratePlasma(b, 12, 1234, White, Black);
    EXPECT_TRUE(a.SamePixels(b));
    CloudRandom lcg(1);
    EXPECT_EQ(lcg.Next(), static_cast<std::uint32_t>(((1ull * 1486058704437ull + 1) >> 32) & 0x7FFFFFFF));

    // Tall and wide pictures take no deep recursion and no long time.
    for (const auto& [width, height] : {std::pair{1, 30000}, std::pair{2, 30000}, std::pair{30000, 3}}) {
        TFastBMP thin(width, height);
        GeneratePlasma(thin, 8, 3, White, Black);
    }

    // Transparency 100 restores the source; 0 keeps the clouds.
    const TFastBMP source = PatternImage(200, 120);
    TFastBMP mixed;
    mixed.CopyFrom(a);
    MixClouds(mixed, source, 100);
    EXPECT_TRUE(mixed.SamePixels(source));
    mixed.CopyFrom(a);
    MixClouds(mixed, source, 0);
    EXPECT_TRUE(mixed.SamePixels(a));
}

// The clouds as the rule states them, recursively, heights in a grid.
struct ReferenceClouds {
    ReferenceClouds(int width, int height, int roughness, std::uint32_t seed)
        : w(width), h(height), r(roughness), random(seed), heights(static_cast<std::size_t>(width) * height, 0)
    {
        heights[0] = static_cast<std::uint8_t>(random.Next() % 255);
        Subdivide(0, 0, w - 1, h - 1);
    }
    std::uint8_t& At(int x, int y) { return heights[static_cast<std::size_t>(y) * w + x]; }
    void Midpoint(int x1, int y1, int x2, int y2)
    {
        const int mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
        if (At(mx, my) != 0)
            return;
        const int d = static_cast<int>(std::sqrt(double((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1))));
        const int s = d * r / 4;
        const int g = s > 0 ? static_cast<int>(random.Next() % static_cast<std::uint32_t>(s)) : 0;
        At(mx, my) = static_cast<std::uint8_t>(std::clamp((At(x1, y1) + At(x2, y2)) / 2 + g - s / 2, 1, 255));
    }
    void Subdivide(int x1, int y1, int x2, int y2)
    {
        const int mx = (x1 + x2) / 2, my = (y1 + y2) / 2;
        Midpoint(x1, y1, x2, y1);
        Midpoint(x1, y1, x1, y2);
        Midpoint(x2, y1, x2, y2);
        Midpoint(x1, y2, x2, y2);
        Midpoint(x1, my, x2, my);
        if (x2 - x1 <= 2 && y2 - y1 <= 2)
            return;
        Subdivide(x1, y1, mx, my);
        Subdivide(mx, y1, x2, my);
        Subdivide(x1, my, mx, y2);
        Subdivide(mx, my, x2, y2);
    }
    int w, h, r;
    CloudRandom random;
    std::vector<std::uint8_t> heights;
};

TEST(Plasma, TheSameCloudsAsTheRecursiveRule)
{
    for (const auto& [width, height] : {std::pair{1, 37}, std::pair{2, 41}, std::pair{29, 1}, std::pair{3, 3},
                                        std::pair{40, 23}, std::pair{64, 64}, std::pair{17, 50}}) {
        TFastBMP clouds(width, height);
        GeneratePlasma(clouds, 9, 4242, White, Black);
        ReferenceClouds expected(width, height, 9, 4242);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                const int v = 255 - expected.At(x, y);
                ASSERT_EQ(clouds.Pixel(x, y), PackRGB(v, v, v)) << width << " x " << height << " at " << x << "," << y;
            }
    }
}

TEST(ColorEffects, TheThreadCountDoesNotChangeTheResult)
{
    const TFastBMP picture = PatternImage(157, 203);
    GammaCurves gamma;
    gamma.curves[0] = CurveThrough(20, 50);
    gamma.curves[2] = CurveThrough(40, 9);
    gamma.Recompute();
    const std::pair<const char*, std::function<void(TFastBMP&, int)>> passes[] = {
        {"gamma", [&](TFastBMP& b, int threads) { ApplyGamma(b, picture, gamma, threads); }},
        {"saturation", [](TFastBMP& b, int threads) { Saturation(b, 77, threads); }},
        {"lightness", [](TFastBMP& b, int threads) { Lightness(b, 140, threads); }},
        {"contrast", [](TFastBMP& b, int threads) { Contrast(b, 200, threads); }},
        {"all three", [](TFastBMP& b, int threads) { ApplyColorParams(b, 30, 60, 90, threads); }},
    };
    for (const auto& [name, pass] : passes) {
        TFastBMP single;
        single.CopyFrom(picture);
        pass(single, 1);
        for (int threads : {2, 3, 7, 300}) {
            TFastBMP many;
            many.CopyFrom(picture);
            pass(many, threads);
            EXPECT_TRUE(many.SamePixels(single)) << name << " on " << threads << " threads";
        }
    }
}

TEST(Emboss, UniformPicturesEdgesAndTheWrappedTopRow)
{
    TFastBMP uniform(9, 5);
    uniform.Fill(PackRGB(200, 13, 77));
    Emboss(uniform);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(uniform.Pixel(x, y), PackRGB(127, 127, 127));

    // Against the rule on a pattern, whatever the slices.
    const TFastBMP picture = PatternImage(23, 41);
    TFastBMP embossed;
    embossed.CopyFrom(picture);
    Emboss(embossed);
    for (int y = 0; y < 41; ++y)
        for (int x = 0; x < 23; ++x) {
            const PackedColor in = picture.Pixel(x, y);
            const PackedColor partner = picture.Pixel(std::min(x + 1, 22), y == 0 ? 40 : y - 1);
            const PackedColor want =
                PackRGB((RedOf(in) + 255 - RedOf(partner)) >> 1, (GreenOf(in) + 255 - GreenOf(partner)) >> 1,
                        (BlueOf(in) + 255 - BlueOf(partner)) >> 1);
            ASSERT_EQ(embossed.Pixel(x, y), want) << x << "," << y;
        }

    TFastBMP edge(2, 2);
    edge.SetPixel(0, 1, Black);
    edge.SetPixel(1, 0, White);
    edge.SetPixel(0, 0, White);
    edge.SetPixel(1, 1, Black);
    Emboss(edge);
    EXPECT_EQ(edge.Pixel(0, 1), Black) << "black under white gives 0";
}

} // namespace
} // namespace krt
