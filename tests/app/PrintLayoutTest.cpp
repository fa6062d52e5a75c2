#include "app/PrintLayout.h"

#include <gtest/gtest.h>

namespace krt {
namespace {

TEST(PrintLayout, FitsThePageShortByTwoAndCentresTheOtherWay)
{
    struct Case {
        const char* what;
        int pw, ph, w, h;
        PrintPlacement want;
    };
    const Case cases[] = {
        // Fitting the height would be 798 wide: the width is fitted, centred down.
        {"a square on a portrait page", 600, 800, 100, 100, {0, 101, 598, 598}},
        // pw - 2 equals the fitted width, which is not smaller: the height is fitted.
        {"exactly the page's proportion", 600, 800, 598, 798, {1, 0, 598, 798}},
        {"a wide picture", 600, 800, 300, 100, {0, 300, 598, 199}},
        {"a tall picture, its width truncated", 600, 800, 100, 400, {200, 0, 199, 798}},
        {"a square on a landscape page", 800, 600, 100, 100, {101, 0, 598, 598}},
        {"a picture one pixel high", 600, 800, 1000, 1, {0, 400, 598, 0}},
    };
    for (const Case& c : cases) {
        const PrintPlacement got = FitToPage(c.pw, c.ph, c.w, c.h);
        EXPECT_EQ(got.x, c.want.x) << c.what;
        EXPECT_EQ(got.y, c.want.y) << c.what;
        EXPECT_EQ(got.w, c.want.w) << c.what;
        EXPECT_EQ(got.h, c.want.h) << c.what;
    }
}

} // namespace
} // namespace krt
