// The filters that ship with the editor: both languages hold the same
// kernels, and each filter does what its name says, on a photo and on
// pictures made for the purpose.

#include "effects/Convolution.h"
#include "library/LibraryFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <map>

namespace krt {
namespace {

struct ShippedFilter {
    std::string name;
    std::string numbers;
};

std::vector<ShippedFilter> Library(const char* name)
{
    const LibraryContents contents = ReadLibraryFile(std::string(KRT_SOURCE_DATA_DIR) + "/" + name);
    EXPECT_TRUE(contents.problems.empty()) << name;
    std::vector<ShippedFilter> filters;
    for (const std::string& line : contents.records) {
        const std::size_t bar = line.find('|');
        EXPECT_NE(bar, std::string::npos) << line;
        filters.push_back({line.substr(0, bar), line.substr(bar + 1)});
    }
    return filters;
}

TFastBMP Filtered(const TFastBMP& picture, const std::string& numbers)
{
    TFastBMP out(picture.Width, picture.Height);
    ApplyFilterString(out, picture, numbers);
    return out;
}

// Sum of absolute byte differences between neighbours (dx, dy) apart.
double Variation(const TFastBMP& p, int dx, int dy)
{
    double sum = 0;
    for (int y = 1; y + 1 < p.Height; ++y)
        for (int x = 1; x + 1 < p.Width; ++x) {
            const PackedColor a = p.Pixel(x, y), b = p.Pixel(x + dx, y + dy);
            for (int shift : {0, 8, 16})
                sum += std::abs(static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255));
        }
    return sum;
}

double TotalVariation(const TFastBMP& p) { return Variation(p, 1, 0) + Variation(p, 0, 1); }

double Mean(const TFastBMP& p)
{
    double sum = 0;
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x)
            for (int shift : {0, 8, 16})
                sum += (p.Pixel(x, y) >> shift) & 255;
    return sum / (3.0 * p.Width * p.Height);
}

// The brightest byte away from the picture's border.
int Brightest(const TFastBMP& p)
{
    int most = 0;
    for (int y = 1; y + 1 < p.Height; ++y)
        for (int x = 1; x + 1 < p.Width; ++x)
            most = std::max(most, static_cast<int>(p.Pixel(x, y) & 255));
    return most;
}

PackedColor Grey(int v) { return static_cast<PackedColor>(v * 0x010101); }

// A grey picture split by a boundary: `bright(x, y)` says which side is light.
TFastBMP Boundary(const std::function<bool(int, int)>& bright)
{
    TFastBMP p(40, 40);
    for (int y = 0; y < p.Height; ++y)
        for (int x = 0; x < p.Width; ++x)
            p.SetPixel(x, y, Grey(bright(x, y) ? 200 : 40));
    return p;
}

// The photo the filters are judged on: the corpus photo when it is here.
TFastBMP Photo()
{
    const auto photo = test::TestData("jpeg-turbo/testorig.jpg");
    if (std::filesystem::exists(photo))
        return test::MustDecode(photo);
    std::printf("The corpus photo is not at %s; judging the filters on the plasma picture instead.\n",
                photo.string().c_str());
    return test::MustDecode(test::ProjectData("hostile/intact.jpg"));
}

TEST(BuiltinFilters, BothLanguagesShipTheSameKernels)
{
    const auto english = Library("filtere.prg");
    const auto russian = Library("filter.prg");
    ASSERT_GE(english.size(), 16u);
    ASSERT_EQ(english.size(), russian.size());
    for (std::size_t i = 0; i < english.size(); ++i) {
        EXPECT_EQ(english[i].numbers, russian[i].numbers) << english[i].name;
        EXPECT_NE(english[i].name, russian[i].name) << "the Russian library has Russian names";
        EXPECT_NO_THROW(ParseFilterNumbers(english[i].numbers)) << english[i].name;
    }
}

// What each filter must do, by its English name.
using Check = std::function<void(const TFastBMP& photo, const std::string& numbers)>;

void Smooths(const TFastBMP& photo, const std::string& numbers)
{
    const TFastBMP out = Filtered(photo, numbers);
    EXPECT_LT(TotalVariation(out), 0.85 * TotalVariation(photo));
    EXPECT_NEAR(Mean(out), Mean(photo), 1.5) << "a blur keeps the brightness";
}

void Sharpens(const TFastBMP& photo, const std::string& numbers)
{
    const TFastBMP out = Filtered(photo, numbers);
    EXPECT_GT(TotalVariation(out), 1.2 * TotalVariation(photo));
    EXPECT_NEAR(Mean(out), Mean(photo), 4.0) << "sharpening keeps the brightness";
}

// A dot becomes a short streak along (dx, dy); the photo loses more detail
// along that direction than across it.
Check SmearsAlong(int dx, int dy)
{
    return [dx, dy](const TFastBMP& photo, const std::string& numbers) {
        TFastBMP dot(9, 9);
        dot.Fill(Black);
        dot.SetPixel(4, 4, White);
        const TFastBMP streak = Filtered(dot, numbers);
        for (int y = 0; y < 9; ++y)
            for (int x = 0; x < 9; ++x) {
                const bool onStreak =
                    (x - 4 == -dx && y - 4 == -dy) || (x == 4 && y == 4) || (x - 4 == dx && y - 4 == dy);
                EXPECT_EQ(streak.Pixel(x, y), onStreak ? Grey(85) : Black) << x << "," << y;
            }
        const TFastBMP out = Filtered(photo, numbers);
        const double along = Variation(out, dx, dy) / Variation(photo, dx, dy);
        const double across = Variation(out, -dy, dx) / Variation(photo, -dy, dx);
        EXPECT_LT(along, 0.95 * across);
    };
}

// Black where the picture is flat, light on the boundary of a square.
void FindsEveryEdge(const TFastBMP&, const std::string& numbers)
{
    // 4 x 200 - 3 x 200 - 40 for the weakest of them, the Laplacian

    const TFastBMP out =
        Filtered(Boundary([](int x, int y) { return x >= 10 && x < 30 && y >= 10 && y < 30; }), numbers);
    EXPECT_EQ(out.Pixel(20, 20), Black);
    EXPECT_EQ(out.Pixel(3, 3), Black);
    for (auto [x, y] : {std::pair{10, 20}, {29, 20}, {20, 10}, {20, 29}})
        EXPECT_GE(static_cast<int>(out.Pixel(x, y) & 255), 160) << x << "," << y;
}

// Light along a boundary of the named direction (light on the side `lit`),
// nothing at all along the boundary across it.
Check FindsEdges(std::function<bool(int, int)> lit, std::function<bool(int, int)> across)
{
    return [lit, across](const TFastBMP&, const std::string& numbers) {
        EXPECT_GE(Brightest(Filtered(Boundary(lit), numbers)), 200);
        EXPECT_EQ(Brightest(Filtered(Boundary(across), numbers)), 0);
    };
}

// Flat areas keep their colour; a light square gets a light rim on the side
// the light comes from (x step, y step) and a dark rim opposite.
Check Embosses(int fromX, int fromY)
{
    return [fromX, fromY](const TFastBMP&, const std::string& numbers) {
        const TFastBMP square = Boundary([](int x, int y) { return x >= 10 && x < 30 && y >= 10 && y < 30; });
        const TFastBMP out = Filtered(square, numbers);
        EXPECT_EQ(out.Pixel(20, 20), square.Pixel(20, 20));
        EXPECT_EQ(out.Pixel(3, 3), square.Pixel(3, 3));
        const int litX = fromX < 0 ? 10 : 29, litY = fromY < 0 ? 10 : 29;
        const int darkX = fromX < 0 ? 29 : 10, darkY = fromY < 0 ? 29 : 10;
        EXPECT_GT(static_cast<int>(out.Pixel(litX, litY) & 255), 200);
        EXPECT_LT(static_cast<int>(out.Pixel(darkX, darkY) & 255), 200);
    };
}

// Every byte moves the same way, and the mean by about the factor (less
// where light bytes reach white).
Check ScalesBrightness(double factor)
{
    return [factor](const TFastBMP& photo, const std::string& numbers) {
        const TFastBMP out = Filtered(photo, numbers);
        int wrongWay = 0;
        for (int y = 0; y < photo.Height; ++y)
            for (int x = 0; x < photo.Width; ++x)
                for (int shift : {0, 8, 16}) {
                    const int before = (photo.Pixel(x, y) >> shift) & 255, after = (out.Pixel(x, y) >> shift) & 255;
                    wrongWay += factor > 1 ? after < before : after > before;
                }
        EXPECT_EQ(wrongWay, 0);
        const double ratio = Mean(out) / Mean(photo);
        EXPECT_TRUE(factor > 1 ? ratio > 1.1 && ratio <= factor : std::abs(ratio - factor) < 0.02) << ratio;
    };
}

TEST(BuiltinFilters, EachDoesWhatItsNameSays)
{
    const std::map<std::string, Check> checks = {
        {"Blur", Smooths},
        {"Gaussian blur", Smooths},
        {"Soften", Smooths},
        {"Motion blur horizontal", SmearsAlong(1, 0)},
        {"Motion blur vertical", SmearsAlong(0, 1)},
        {"Motion blur diagonal", SmearsAlong(1, 1)},
        {"Sharpen", Sharpens},
        {"Sharpen gently", Sharpens},
        {"Strong sharpen", Sharpens},
        {"Laplacian", FindsEveryEdge},
        {"Outline", FindsEveryEdge},
        {"Edges horizontal", FindsEdges([](int, int y) { return y >= 20; }, [](int x, int) { return x >= 20; })},
        {"Edges vertical", FindsEdges([](int x, int) { return x >= 20; }, [](int, int y) { return y >= 20; })},
        {"Edges diagonal /", FindsEdges([](int x, int y) { return x + y >= 40; }, [](int x, int y) { return y > x; })},
        {"Edges diagonal \\", FindsEdges([](int x, int y) { return x > y; }, [](int x, int y) { return x + y >= 40; })},
        {"Emboss", Embosses(-1, -1)},
        {"Relief", Embosses(1, -1)},
        {"Brighten", ScalesBrightness(1.25)},
        {"Darken", ScalesBrightness(0.75)},
    };
    const TFastBMP photo = Photo();
    for (const ShippedFilter& filter : Library("filtere.prg")) {
        SCOPED_TRACE(filter.name);
        const auto check = checks.find(filter.name);
        if (check == checks.end()) {
            ADD_FAILURE() << "no check says what this filter must do";
            continue;
        }
        check->second(photo, filter.numbers);
    }
}

} // namespace
} // namespace krt
