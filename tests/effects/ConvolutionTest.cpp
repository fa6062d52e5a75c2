#include "effects/Convolution.h"
#include "core/KrtError.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

namespace krt {
namespace {

using test::PatternImage;

FilterKernel Kernel(std::array<std::int16_t, 9> w, std::int32_t d)
{
    FilterKernel k;
    k.weights = w;
    k.divisor = d;
    return k;
}

TFastBMP Convolved(const TFastBMP& source, const FilterKernel& kernel, ConvolveOptions options = {})
{
    TFastBMP out(source.Width, source.Height);
    Convolve3x3(out, source, kernel, options);
    return out;
}

// The rule as written: every tap clamped to the picture, 32-bit sums,
// division truncating toward zero, clamping.
TFastBMP Reference(const TFastBMP& source, const FilterKernel& kernel)
{
    TFastBMP out(source.Width, source.Height);
    const int w = source.Width, h = source.Height;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < 3; ++c) {
                std::int32_t sum = 0;
                for (int k = 1; k <= 9; ++k) {
                    const int dx = (k - 1) / 3 - 1, dy = (k - 1) % 3 - 1;
                    const std::uint8_t* p =
                        source.PixelAddress(std::clamp(x + dx, 0, w - 1), std::clamp(y + dy, 0, h - 1));
                    sum += kernel.weights[static_cast<std::size_t>(k - 1)] * p[c];
                }
                const std::int32_t q = kernel.divisor == INT_MIN ? 0 : sum / kernel.divisor;
                out.PixelAddress(x, y)[c] = static_cast<std::uint8_t>(std::clamp(q, 0, 255));
            }
    return out;
}

const std::array<std::int16_t, 9> Identity = {0, 0, 0, 0, 1, 0, 0, 0, 0};

TEST(Convolve3x3, WorkedExamples)
{
    const TFastBMP picture = PatternImage(37, 23);
    EXPECT_TRUE(Convolved(picture, Kernel(Identity, 1)).SamePixels(picture));

    // A 1 x 1 picture: all nine taps read its one pixel.
    TFastBMP one(1, 1);
    one.SetPixel(0, 0, PackRGB(10, 20, 30));
    EXPECT_EQ(Convolved(one, Kernel({1, 1, 1, 1, 2, 1, 1, 1, 1}, 4)).Pixel(0, 0), PackRGB(25, 50, 75));

    // A corner averages itself 4 times, its edge neighbours twice, its diagonal once.
    TFastBMP corner(3, 3);
    corner.Fill(PackRGB(0, 0, 0));
    corner.SetPixel(0, 0, PackRGB(90, 90, 90));
    corner.SetPixel(1, 0, PackRGB(9, 9, 9));
    corner.SetPixel(0, 1, PackRGB(18, 18, 18));
    corner.SetPixel(1, 1, PackRGB(27, 27, 27));
    const int expected = (4 * 90 + 2 * 9 + 2 * 18 + 27) / 9;
    EXPECT_EQ(Convolved(corner, Kernel({1, 1, 1, 1, 1, 1, 1, 1, 1}, 9)).Pixel(0, 0),
              PackRGB(expected, expected, expected));

    // -7 / 2 is -3, clamped to 0; 700 / 2 is 350, clamped to 255; -1 turns every byte to 0.
    TFastBMP flat(4, 4);
    flat.Fill(PackRGB(7, 100, 1));
    EXPECT_EQ(Convolved(flat, Kernel({0, 0, 0, 0, -1, 0, 0, 0, 0}, 2)).Pixel(2, 2), PackRGB(0, 0, 0));
    EXPECT_EQ(Convolved(flat, Kernel({0, 0, 0, 0, 7, 0, 0, 0, 0}, 2)).Pixel(2, 2), PackRGB(24, 255, 3));
    EXPECT_EQ(Convolved(flat, Kernel(Identity, -1)).Pixel(1, 1), PackRGB(0, 0, 0));
    // A Laplacian leaves a flat area black.
    EXPECT_EQ(Convolved(flat, Kernel({-1, -1, -1, -1, 8, -1, -1, -1, -1}, 1)).Pixel(1, 1), PackRGB(0, 0, 0));
}

TEST(Convolve3x3, RecordsParseWithTheirMessages)
{
    const FilterKernel k = ParseFilterNumbers("1,2,3,4,70000,-6,7,8,9,-16");
    EXPECT_EQ(k.weights[4], 4464) << "70000 keeps its low 16 bits";
    EXPECT_EQ(k.weights[5], -6);
    EXPECT_EQ(k.divisor, -16);
    const std::pair<const char*, const char*> failures[] = {
        {"1,2,3,4,x,6,7,8,9,1", "'x' is not a valid integer value"},
        {"1,2,3,4,5,6,7,8,9,", "'' is not a valid integer value"},
        {"1,2,3", "'3' is not a valid integer value"},
        {"1,2,3,4,5,6,7,8,9,0", "Division by zero"},
        {"1,2,3,4,5,6,7,8,9,99999999999", "'99999999999' is not a valid integer value"},
    };
    TFastBMP picture = PatternImage(5, 5);
    TFastBMP target = PatternImage(5, 5);
    for (const auto& [numbers, message] : failures) {
        try {
            ApplyFilterString(target, picture, numbers);
            ADD_FAILURE() << numbers;
        } catch (const KrtError& e) {
            EXPECT_STREQ(e.what(), message);
        }
        EXPECT_TRUE(target.SamePixels(picture)) << "the target is left unchanged";
    }
}

// The vector kernels on both instruction sets against the rule, on random
// pictures (widths that leave every tail length), kernels and divisors.
TEST(Convolve3x3, AgreesWithTheRuleOnRandomPicturesKernelsAndDivisors)
{
    std::mt19937 random(12345);
    const std::int32_t divisors[] = {1, -1, 2, -2, 3, 7, -9, 10, 16, 255, -641, 65535, 123456789, INT_MAX, INT_MIN};
    for (int trial = 0; trial < 60; ++trial) {
        const int w = 1 + static_cast<int>(random() % 45), h = 1 + static_cast<int>(random() % 9);
        TFastBMP picture(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                picture.SetPixel(x, y, static_cast<PackedColor>(random()) & 0xFFFFFF);
        FilterKernel kernel;
        for (std::int16_t& weight : kernel.weights)
            weight = static_cast<std::int16_t>(trial % 3 == 0 ? static_cast<int>(random() % 65536) - 32768
                                                              : static_cast<int>(random() % 21) - 10);
        kernel.divisor = trial < 15 ? divisors[trial] : static_cast<std::int32_t>(random() % 2001) - 1000;
        if (kernel.divisor == 0)
            kernel.divisor = 3;
        const TFastBMP expected = Reference(picture, kernel);
        for (auto isa : {ConvolveOptions::Isa::Sse2, ConvolveOptions::Isa::Avx2}) {
            if (isa == ConvolveOptions::Isa::Avx2 && !__builtin_cpu_supports("avx2"))
                continue;
            ConvolveOptions options;
            options.isa = isa;
            options.threads = 1 + trial % 3;
            ASSERT_TRUE(Convolved(picture, kernel, options).SamePixels(expected))
                << "trial " << trial << " " << w << " x " << h << " divisor " << kernel.divisor;
        }
    }
}

TEST(Convolve3x3, TheThreadCountDoesNotChangeTheResult)
{
    const TFastBMP picture = PatternImage(301, 97);
    const FilterKernel sharpen = Kernel({-1, -1, -1, -1, 12, -1, -1, -1, -1}, 4);
    ConvolveOptions one;
    one.threads = 1;
    const TFastBMP single = Convolved(picture, sharpen, one);
    for (int threads : {2, 3, 8, 97, 200}) {
        ConvolveOptions many;
        many.threads = threads;
        EXPECT_TRUE(Convolved(picture, sharpen, many).SamePixels(single)) << threads;
    }
}

} // namespace
} // namespace krt
