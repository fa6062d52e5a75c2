#include "paint/ToolEngine.h"
#include "paint/ColorPanels.h"
#include "paint/FloatingBlock.h"
#include "support/EditorFixture.h"
#include "support/FakeWindows.h"

#include <gtest/gtest.h>

namespace krt {
namespace {

using test::CountPixels;
using test::FakeWindows;
using test::NewEditor;

constexpr PackedColor Red = PackRGB(255, 0, 0);

// An editor with its windows and tools; the view shows the image 1:1.
struct Bench {
    explicit Bench(int w = 60, int h = 40)
        : editor(NewEditor(w, h)), windows(*editor), tools(*editor, windows, windows, windows)
    {
        windows.onCancelStroke = [this] { tools.CancelStroke(); };
    }
    void Drag(unsigned modifiers, std::vector<std::pair<int, int>> points)
    {
        tools.OnPress(modifiers, points.front().first, points.front().second);
        for (std::size_t i = 1; i < points.size(); ++i)
            tools.OnMove(modifiers | ModLeftButton, points[i].first, points[i].second);
        tools.OnRelease(modifiers, points.back().first, points.back().second);
    }
    std::unique_ptr<Editor> editor;
    FakeWindows windows;
    ToolEngine tools;
};

TEST(ToolEngine, PencilStrokeIsOneUndoStepAlongTheDrag)
{
    Bench b;
    b.editor->Settings.BrushSize = 1;
    b.Drag(0, {{5, 5}, {15, 5}, {15, 10}});
    EXPECT_EQ(CountPixels(b.editor->Image, Black), 11 + 5);
    EXPECT_EQ(b.editor->UndoCount, 1);
    EXPECT_EQ(b.editor->Document.ModifiedCount, 1);
    EXPECT_EQ(b.editor->UndoRing[0].Pixel(5, 5), White);
}

TEST(ToolEngine, AltPicksTheColourAndKeepsThePencil)
{
    Bench b;
    b.editor->Image.SetPixel(20, 20, PackRGB(10, 200, 30));
    b.editor->Settings.ActiveIsForeground = false;
    b.tools.OnPress(ModAlt, 20, 20);
    b.tools.OnMove(ModAlt | ModLeftButton, 21, 20);
    b.tools.OnRelease(ModAlt, 21, 20);
    EXPECT_EQ(b.editor->Settings.BackColor, White); // the drag picked again
    b.tools.OnPress(ModAlt, 20, 20);
    b.tools.OnRelease(ModAlt, 20, 20);
    EXPECT_EQ(b.editor->Settings.BackColor, PackRGB(10, 200, 30));
    EXPECT_EQ(b.windows.caption, "10 200 30");
    EXPECT_EQ(b.editor->Settings.CurrentTool, Tool::Pencil);
    EXPECT_EQ(b.editor->UndoCount, 0);
    EXPECT_EQ(CountPixels(b.editor->Image, Black), 0);
    // Letting go of Alt during the drag does not paint from a stroke that never started.
    b.tools.OnPress(ModAlt, 20, 20);
    b.tools.OnMove(ModLeftButton, 30, 20);
    b.tools.OnRelease(0, 30, 20);
    EXPECT_EQ(CountPixels(b.editor->Image, Black), 0);
}

TEST(ToolEngine, ShiftLocksTheStrokeToTheFirstDirection)
{
    Bench b;
    b.editor->Settings.BrushSize = 1;
    b.windows.pointer = {300, 200};
    b.tools.OnPress(ModShift, 10, 10);
    b.windows.pointer = {310, 203};
    b.tools.OnMove(ModShift | ModLeftButton, 20, 13);
    b.windows.pointer = {320, 208};
    b.tools.OnMove(ModShift | ModLeftButton, 30, 18);
    b.tools.OnRelease(ModShift, 30, 18);
    for (int x = 10; x <= 30; ++x)
        EXPECT_EQ(b.editor->Image.Pixel(x, 10), Black) << x;
    EXPECT_EQ(CountPixels(b.editor->Image, Black), 21);
    ASSERT_FALSE(b.windows.pointerMoves.empty());
    EXPECT_EQ(b.windows.pointer.y, 200); // the pointer stays on the starting row
}

TEST(ToolEngine, RectangleSelectionAndItsRefusals)
{
    Bench b;
    b.editor->Settings.CurrentTool = Tool::RectangleSelect;
    b.Drag(0, {{5, 6}, {10, 10}, {15, 12}});
    ASSERT_TRUE(b.editor->Selection.HasSelection());
    EXPECT_EQ(b.editor->Selection.SelectionRect.w, 11);
    EXPECT_EQ(b.editor->Selection.SelectionRect.h, 7);
    EXPECT_EQ(b.editor->UndoCount, 1);
    b.Drag(0, {{5, 6}, {5, 12}});
    EXPECT_FALSE(b.editor->Selection.HasSelection()); // same column
    b.tools.OnPress(0, 5, 6);
    b.tools.OnMove(ModLeftButton, 15, 12);
    b.tools.OnRelease(ModAlt, 15, 12);
    EXPECT_FALSE(b.editor->Selection.HasSelection()); // an Alt release finishes nothing
    EXPECT_EQ(b.editor->Settings.CurrentTool, Tool::RectangleSelect);
}

TEST(ToolEngine, RectangleDragOutsideScrollsOnePixelPerEventUpToTheLastColumn)
{
    Bench b(60, 40);
    b.editor->View.ViewWidth = 30;
    b.editor->View.ViewHeight = 20;
    b.editor->Settings.CurrentTool = Tool::RectangleSelect;
    b.tools.OnPress(0, 5, 5);
    for (int step = 1; step <= 3; ++step) {
        b.tools.OnMove(ModLeftButton, 40, 10);
        EXPECT_EQ(b.editor->View.ScrollX, step);
    }
    for (int step = 0; step < 100; ++step)
        b.tools.OnMove(ModLeftButton, 40, -5);
    EXPECT_EQ(b.editor->View.ScrollX, 59);
    EXPECT_EQ(b.editor->View.ScrollY, 0);
}

TEST(ToolEngine, ReplaceAllButKeepsRecolouringWhileDragging)
{
    Bench b(30, 1);
    b.editor->Image.FillBlock(10, 0, 19, 0, Red);
    b.editor->Image.FillBlock(20, 0, 29, 0, PackRGB(0, 0, 255));
    b.editor->Settings.CurrentTool = Tool::ReplaceOtherColors;
    b.editor->Settings.BackColor = Black;
    b.tools.OnPress(0, 15, 0);            // everything but red turns black
    b.tools.OnMove(ModLeftButton, 25, 0); // now black under the pointer: red turns black
    EXPECT_EQ(CountPixels(b.editor->Image, Black), 30);
}

TEST(ToolEngine, CancelledStrokeAndPressesOutsideTheImageDoNothing)
{
    Bench b(30, 20);
    b.editor->View.ViewWidth = 100;
    b.tools.OnPress(0, 50, 5); // right of the image
    EXPECT_EQ(b.editor->UndoCount, 0);
    b.tools.OnMove(ModLeftButton, 10, 5);
    b.tools.OnRelease(0, 10, 5);
    EXPECT_EQ(CountPixels(b.editor->Image, Black), 0);

    b.tools.OnPress(0, 5, 5);
    b.windows.CancelStroke(); // a file was opened meanwhile
    const int painted = CountPixels(b.editor->Image, Black);
    b.tools.OnMove(ModLeftButton, 20, 5);
    b.tools.OnRelease(0, 20, 5);
    EXPECT_EQ(CountPixels(b.editor->Image, Black), painted);
}

TEST(ToolEngine, DragsAPastedBlockWithTheMoveToolAndUndoes)
{
    Bench b;
    b.editor->Image.FillBlock(10, 10, 19, 19, Red);
    b.editor->Settings.CurrentTool = Tool::RectangleSelect;
    b.Drag(0, {{10, 10}, {19, 19}});
    b.windows.SelectTool(Tool::Move);
    b.Drag(0, {{15, 15}, {20, 15}, {25, 17}});
    EXPECT_EQ(b.editor->Image.Pixel(20, 12), Red);
    EXPECT_EQ(b.editor->Image.Pixel(12, 12), White); // the hole in the background colour
    EXPECT_EQ(b.editor->Selection.SelectionOffsetX, 10);
    b.windows.SelectTool(Tool::Pencil);
    EXPECT_EQ(b.editor->Selection.SelectionRect.x, 20);
    EXPECT_EQ(b.editor->Selection.SelectionRect.y, 12);
    // A press off the block with the move tool does not drag.
    b.windows.SelectTool(Tool::Move);
    b.Drag(0, {{2, 2}, {8, 8}});
    EXPECT_EQ(b.editor->Selection.SelectionOffsetX, 0);
}

TEST(ToolEngine, FreeHandAndGradientFinishOnRelease)
{
    Bench b;
    b.editor->Settings.CurrentTool = Tool::FreeHandSelect;
    b.Drag(0, {{10, 10}, {30, 10}, {30, 25}, {10, 25}});
    ASSERT_TRUE(b.editor->Selection.HasSelection());
    EXPECT_EQ(b.editor->Selection.SelectionRect.x, 10);
    EXPECT_EQ(b.editor->Selection.SelectionRect.w, 21);
    EXPECT_EQ(b.editor->Selection.SelectionRect.h, 16);

    b.editor->Settings.CurrentTool = Tool::Gradient;
    b.editor->Settings.ForeColor = Red;
    b.editor->Settings.BackColor = Black;
    b.tools.OnPress(0, 10, 20);
    b.tools.OnMove(ModLeftButton, 30, 20);
    EXPECT_TRUE(b.editor->View.GradientFeedback);
    EXPECT_EQ(b.windows.outlineSteps, 1);
    b.tools.OnRelease(0, 30, 20);
    EXPECT_FALSE(b.editor->View.GradientFeedback);
    EXPECT_EQ(b.editor->Image.Pixel(10, 15), Red);
    EXPECT_EQ(b.editor->Image.Pixel(30, 15), Black);
    EXPECT_EQ(b.editor->Image.Pixel(5, 5), White); // outside the free-hand selection
}

TEST(ToolEngine, TextToolRemembersThePressedPoint)
{
    Bench b;
    b.editor->View.Zoom = 2.0f;
    b.editor->Settings.CurrentTool = Tool::Text;
    int opened = 0;
    b.windows.onTextDialog = [&] { ++opened; };
    b.tools.OnPress(0, 21, 9);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(b.tools.TextPosition.x, 10);
    EXPECT_EQ(b.tools.TextPosition.y, 4);
}

} // namespace
} // namespace krt
