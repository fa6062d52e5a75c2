#include "paint/View.h"
#include "app/PreviewLayout.h"
#include "core/KrtError.h"
#include "core/ScaledBlit.h"
#include "paint/ColorPanels.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <set>

namespace krt {
namespace {

Editor MakeEditor(int w, int h)
{
    Editor editor(Language::English, DataPaths{});
    editor.Image = test::PatternImage(w, h);
    editor.BuildDocumentBuffers();
    return editor;
}

TEST(View, ViewToImageTruncatesWithTheStoredZoom)
{
    ViewState v;
    std::string text = "10%";
    SetZoomFromText(v, text);
    // 0.1 in single precision is just above 0.1: 10 / zoom is just below 100.
    EXPECT_EQ(ViewToImage(v, 10, 10).x, 99);
    v.ScrollX = 5;
    v.ScrollY = 7;
    text = "200%";
    SetZoomFromText(v, text);
    EXPECT_EQ(ViewToImage(v, 3, 3).x, 6);
    EXPECT_EQ(ViewToImage(v, 3, 3).y, 8);
}

TEST(View, ZoomBoxText)
{
    ViewState v;
    struct Case {
        const char* text;
        const char* shown;
        float zoom;
    };
    for (const Case c : {Case{"150", "150%", 1.5f}, Case{"25%", "25%", 0.25f}, Case{"1000%", "1000%", 10.0f}}) {
        std::string text = c.text;
        SetZoomFromText(v, text);
        EXPECT_EQ(text, c.shown);
        EXPECT_FLOAT_EQ(v.Zoom, c.zoom);
    }
    for (const char* bad : {"0", "-50%", "abc", "%", "12.5%"}) {
        std::string text = bad;
        EXPECT_THROW(SetZoomFromText(v, text), KrtError) << bad;
        EXPECT_FLOAT_EQ(v.Zoom, 10.0f) << "a refused zoom keeps the old one";
    }
}

TEST(View, ClampViewPointKeepsDragsOnTheImage)
{
    ViewState v;
    v.ViewWidth = 300;
    v.ViewHeight = 200;
    v.Zoom = 2.0f;
    const ImagePoint p = ClampViewPoint(v, 50, 500, 1000, -40);
    EXPECT_EQ(p.x, 98); // (50 - 0 - 1) * 2
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(ClampViewPoint(v, 500, 500, 1000, 1000).x, 299);
}

TEST(View, RedrawViewFillsFromTheImageAndLeavesAGreyMargin)
{
    Editor editor = MakeEditor(100, 60);
    ViewState& v = editor.View;
    v.ViewWidth = 391;
    v.ViewHeight = 150;
    SetPosterize(editor.Settings, 64, 1, 1);
    RedrawView(editor);
    // At 200 % a 391-pixel view shows 195 columns with a step of 2042/4096.
    EXPECT_EQ(v.FilledColumns, 100 * 4096 / 2042);
    EXPECT_EQ(v.FilledRows, 120);
    const PackedColor src = editor.Image.Pixel(57, 21);
    const PackedColor shown = v.ViewBuffer.Pixel((57 * 4096 + 2041) / 2042, 42);
    EXPECT_EQ(RedOf(shown), editor.Settings.PosterizeR[static_cast<std::size_t>(RedOf(src))]);
    EXPECT_EQ(v.ViewBuffer.Pixel(390, 10), MarginColor) << "the margin is never posterised";
    EXPECT_EQ(v.ViewBuffer.Pixel(5, 149), MarginColor);
    EXPECT_EQ(editor.Image.Pixel(57, 21), src) << "the image itself is untouched";

    // Scrolling past the image shows margin only.
    v.ScrollX = 500;
    RedrawView(editor);
    EXPECT_EQ(v.FilledColumns, 0);
    EXPECT_EQ(v.ViewBuffer.Pixel(0, 0), MarginColor);
}

TEST(View, PartialPreviewUpdateEqualsAFullRebuild)
{
    Editor editor = MakeEditor(333, 217);
    SetPosterize(editor.Settings, 40, 7, 1);
    ApplyPreviewLayout(editor, LayOutPreview(150, 120, 333, 217), false);
    TFastBMP stale;
    stale.CopyFrom(editor.View.PreviewBuffer);
    // Paint a rectangle into the image, update only its part of the preview.
    editor.Image.FillBlock(40, 30, 140, 95, PackRGB(250, 10, 99));
    UpdatePreviewRect(editor, 40, 30, 101, 66);
    TFastBMP partial;
    partial.CopyFrom(editor.View.PreviewBuffer);
    RedrawPreview(editor);
    for (int y = 0; y < partial.Height; ++y)
        for (int x = 0; x < partial.Width; ++x)
            ASSERT_EQ(partial.Pixel(x, y), editor.View.PreviewBuffer.Pixel(x, y)) << x << "," << y;
    EXPECT_FALSE(stale.SamePixels(partial));
}

TEST(View, PartialPreviewUpdateReachesTheLastRowAndColumn)
{
    for (const auto& [w, h] : {std::pair{40, 30}, std::pair{333, 217}}) {
        Editor editor = MakeEditor(w, h);
        ApplyPreviewLayout(editor, LayOutPreview(150, 120, w, h), false);
        // A brush step at the bottom-right corner, its rectangle reaching past the picture.
        editor.Image.FillBlock(w - 3, h - 3, w - 1, h - 1, PackRGB(250, 10, 99));
        UpdatePreviewRect(editor, w - 8, h - 8, 20, 20);
        TFastBMP partial;
        partial.CopyFrom(editor.View.PreviewBuffer);
        RedrawPreview(editor);
        EXPECT_TRUE(partial.SamePixels(editor.View.PreviewBuffer)) << w << " x " << h;
    }
}

TEST(View, APreviewOfNoWidthIsDrawnSafely)
{
    // A picture one pixel wide in a short preview window has a preview of no width.
    Editor editor = MakeEditor(1, 1000);
    SetPosterize(editor.Settings, 64, 64, 64);
    ApplyPreviewLayout(editor, LayOutPreview(200, 307, 1, 1000), true);
    EXPECT_EQ(editor.View.PreviewWidth, 0);
    RedrawPreview(editor);
    UpdatePreviewRect(editor, 0, 0, 1, 1000);
    EXPECT_EQ(editor.View.PreviewBuffer.RowTable.size(), static_cast<std::size_t>(editor.View.PreviewHeight));
}

TEST(View, OutlineTracing)
{
    // A 4 x 3 block in a 7 x 6 map: its border cells, in chains going right or down.
    std::vector<std::uint8_t> map(7 * 6, 0);
    for (int y = 1; y <= 3; ++y)
        for (int x = 2; x <= 5; ++x)
            map[static_cast<std::size_t>(y * 7 + x)] = 1;
    std::vector<std::uint16_t> rows(100), cols(100);
    const int n = TraceOutline(map.data(), 7, 6, rows.data(), cols.data(), 100);
    std::set<std::pair<int, int>> points;
    for (int i = 0; i < n; ++i)
        points.insert({cols[static_cast<std::size_t>(i)], rows[static_cast<std::size_t>(i)]});
    EXPECT_EQ(static_cast<int>(points.size()), n) << "no point twice";
    EXPECT_EQ(n, 10) << "the ring of a 4 x 3 block";
    EXPECT_FALSE(points.count({3, 2})) << "inner cells are not outline";
    EXPECT_EQ(cols[0], 2);
    EXPECT_EQ(rows[0], 1);

    // A huge outline stops at the 16-bit limit instead of overflowing.
    const int big = 400;
    std::vector<std::uint8_t> checker(static_cast<std::size_t>(big) * big);
    for (int y = 0; y < big; ++y)
        for (int x = 0; x < big; ++x)
            checker[static_cast<std::size_t>(y * big + x)] = (x + y) % 2;
    std::vector<std::uint16_t> r(250000), c(250000);
    EXPECT_EQ(TraceOutline(checker.data(), big, big, r.data(), c.data(), 250000), MaxOutlinePoints);
}

TEST(View, OutlinesFollowTheSelection)
{
    Editor editor = MakeEditor(40, 30);
    editor.View.ViewWidth = 80;
    editor.View.ViewHeight = 60;
    editor.View.ViewFrameMap.resize(80 * 60);
    for (int y = 10; y < 20; ++y)
        for (int x = 5; x < 15; ++x)
            editor.Selection.SelectionMask[static_cast<std::size_t>(y * 40 + x)] = 1;
    editor.Selection.Select({5, 10, 10, 10});
    RedrawView(editor);
    EXPECT_GT(editor.View.ViewFrameCount, 0);
    for (int i = 0; i < editor.View.ViewFrameCount; ++i) {
        const int x = editor.Buffers.ViewFrameColumns[static_cast<std::size_t>(i)];
        const int y = editor.Buffers.ViewFrameRows[static_cast<std::size_t>(i)];
        EXPECT_TRUE(x >= 10 && x < 30 && y >= 20 && y < 40) << x << "," << y;
    }
    ApplyPreviewLayout(editor, LayOutPreview(42, 32, 40, 30), true);
    EXPECT_GT(editor.View.PreviewFrameCount, 0);
}

TEST(PreviewLayout, FitsAndCentres)
{
    struct Case {
        int cw, ch, w, h, width, height, left, top;
        float scale;
    };
    for (const Case c : {Case{474, 307, 1000, 1000, 305, 305, 84, 0, 0.305f},
                         Case{474, 307, 2000, 500, 472, 118, 0, 94, 118.0f / 500}}) {
        const PreviewLayout l = LayOutPreview(c.cw, c.ch, c.w, c.h);
        EXPECT_EQ(l.width, c.width);
        EXPECT_EQ(l.height, c.height);
        EXPECT_EQ(l.left, c.left);
        EXPECT_EQ(l.top, c.top);
        EXPECT_FLOAT_EQ(l.scale, c.scale);
    }
}

} // namespace
} // namespace krt
