#include "app/EditCommands.h"
#include "document/Undo.h"
#include "lang/CaptionTables.h"
#include "paint/ColorPanels.h"
#include "paint/SelectionShapes.h"
#include "support/CommandDesk.h"
#include "support/EditorFixture.h"

#include <gtest/gtest.h>

namespace krt {
namespace {

using test::CountPixels;
using test::FakeWindows;
using test::NewEditor;
using test::ScriptedPrompts;

constexpr PackedColor Red = PackRGB(255, 0, 0);

using test::Desk;

TEST(EditCommands, FiveUndoStepsAndNoMore)
{
    Desk d(8, 8);
    for (int k = 1; k <= 6; ++k) {
        PushUndo(*d.editor);
        d.editor->Image.Fill(PackRGB(k, k, k));
    }
    for (int k = 5; k >= 1; --k) {
        ASSERT_TRUE(d.edits.MenuState().undo);
        d.edits.Undo();
        EXPECT_EQ(d.editor->Image.Pixel(0, 0), PackRGB(k, k, k)) << k;
    }
    EXPECT_FALSE(d.edits.MenuState().undo);
    d.edits.Undo();
    EXPECT_EQ(d.editor->Image.Pixel(0, 0), PackRGB(1, 1, 1));
}

TEST(EditCommands, PasteFloatsTheBlockAtTheScrollPosition)
{
    Desk d(50, 40);
    TFastBMP picture(4, 3);
    picture.Fill(Red);
    picture.SetPixel(1, 1, KeyColor);
    d.clipboard.WriteImage(picture);
    d.editor->View.ScrollX = 10;
    d.editor->View.ScrollY = 5;
    d.edits.Paste();
    EXPECT_EQ(d.editor->Settings.CurrentTool, Tool::Move);
    EXPECT_EQ(d.windows.moveToolShown, 1);
    EXPECT_EQ(d.editor->Image.Pixel(10, 5), Red);
    EXPECT_EQ(d.editor->Image.Pixel(11, 6), White); // the key colour stays transparent
    EXPECT_EQ(d.editor->Selection.SelectionMask[1 * 50 + 1], 0);
    EXPECT_EQ(d.editor->UndoCount, 1);
    // The next tool drops it into the picture where it floats.
    d.windows.SelectTool(Tool::Pencil);
    EXPECT_EQ(d.editor->Selection.SelectionRect.x, 10);
    EXPECT_EQ(CountPixels(d.editor->Image, Red), 11);
}

TEST(EditCommands, PasteAsLargeAsThePictureAsksToEnlargeIt)
{
    Desk d(100, 200);
    d.Put(100, 50, Red); // equal width counts
    d.prompts.yesNo = {false};
    d.edits.Paste();
    EXPECT_EQ(d.prompts.asked.back(), "yes-no:Clipboard size is larger than size of image. Change image size?");
    EXPECT_EQ(CountPixels(d.editor->Image, Red), 0);
    EXPECT_EQ(d.editor->UndoCount, 1);

    d.prompts.yesNo = {true};
    d.edits.Paste();
    EXPECT_EQ(d.editor->Image.Width, 100);
    EXPECT_EQ(d.editor->Image.Height, 200);
    EXPECT_EQ(d.editor->UndoCount, 0);
    EXPECT_EQ(CountPixels(d.editor->Image, Red), 5000);

    Desk grow(20, 10);
    grow.Put(30, 5, Red);
    grow.prompts.yesNo = {true};
    grow.edits.Paste();
    EXPECT_EQ(grow.editor->Image.Width, 30);
    EXPECT_EQ(grow.editor->Image.Height, 10);
    EXPECT_EQ(grow.editor->Image.Pixel(25, 8), Black); // what the picture gained
    EXPECT_EQ(grow.editor->Image.Pixel(5, 8), White);
}

// A diamond-shaped selection in a 20 x 20 red picture.
void SelectDiamond(Editor& e)
{
    e.Image.Fill(Red);
    BeginFreeHand(e);
    FreeHandPath(e, 10, 2, 18, 10);
    FreeHandPath(e, 18, 10, 10, 18);
    FreeHandPath(e, 10, 18, 2, 10);
    FreeHandPath(e, 2, 10, 10, 2);
    FreeHandClose(e);
}

TEST(EditCommands, CopyAndCropOfAFreeHandSelectionKeyTheOutside)
{
    Desk d(20, 20);
    SelectDiamond(*d.editor);
    d.edits.Copy();
    ASSERT_TRUE(d.clipboard.picture);
    EXPECT_EQ(d.clipboard.picture->Width, 17);
    EXPECT_EQ(d.clipboard.picture->Pixel(0, 0), KeyColor);
    EXPECT_EQ(d.clipboard.picture->Pixel(8, 8), Red);

    d.edits.Crop();
    EXPECT_EQ(d.editor->Image.Width, 17);
    EXPECT_EQ(d.editor->Image.Height, 17);
    EXPECT_EQ(d.editor->Image.Pixel(0, 0), KeyColor);
    EXPECT_EQ(d.editor->Image.Pixel(8, 0), Red);
    EXPECT_EQ(d.editor->Document.ModifiedCount, 1);
    EXPECT_FALSE(d.editor->Selection.HasSelection());
}

TEST(EditCommands, CopyWithoutASelectionTakesTheWholePicture)
{
    Desk d(12, 7);
    d.edits.Copy();
    ASSERT_TRUE(d.clipboard.picture);
    EXPECT_EQ(d.clipboard.picture->Width, 12);
    EXPECT_EQ(d.clipboard.picture->Height, 7);
}

TEST(EditCommands, CutLeavesTheBackgroundColourFloating)
{
    Desk d(20, 20);
    d.editor->Image.Fill(Red);
    d.editor->Settings.BackColor = PackRGB(0, 0, 255);
    SetRectSelection(*d.editor, 2, 2, 5, 5);
    d.edits.Cut();
    EXPECT_EQ(d.clipboard.picture->Pixel(0, 0), Red);
    EXPECT_EQ(d.editor->Settings.CurrentTool, Tool::Move);
    EXPECT_EQ(CountPixels(d.editor->Image, PackRGB(0, 0, 255)), 16);
}

TEST(EditCommands, SelectAllAndInvertLeaveTheMoveTool)
{
    Desk d(10, 10);
    d.editor->Settings.CurrentTool = Tool::Move;
    d.edits.InvertSelection(); // nothing selected: all, then none
    EXPECT_FALSE(d.editor->Selection.HasSelection());
    EXPECT_EQ(d.editor->Settings.CurrentTool, Tool::Pencil);
    d.edits.SelectAll();
    EXPECT_TRUE(d.editor->Selection.HasSelection());
    EXPECT_EQ(d.editor->Selection.SelectionRect.w, 10);
    EXPECT_TRUE(d.edits.MenuState().selection);
}

TEST(EditCommands, ResizeScalesOrChangesTheCanvas)
{
    Desk d(100, 100);
    d.editor->Image.FillBlock(0, 0, 99, 49, Red);
    SetRectSelection(*d.editor, 1, 1, 5, 5);
    d.prompts.resize = ResizeRequest{200, 50, false, false};
    d.edits.Resize();
    EXPECT_EQ(d.editor->Image.Width, 200);
    EXPECT_EQ(d.editor->Image.Height, 50);
    EXPECT_EQ(CountPixels(d.editor->Image, Red), 5000);
    EXPECT_EQ(d.editor->Image.Pixel(150, 10), Black);
    EXPECT_EQ(d.editor->Document.ModifiedCount, 1);

    // The selection goes even when the dialog is cancelled.
    SetRectSelection(*d.editor, 1, 1, 5, 5);
    d.prompts.resize.reset();
    d.edits.Resize();
    EXPECT_FALSE(d.editor->Selection.HasSelection());
    EXPECT_EQ(d.editor->Image.Width, 200);
}

TEST(ResizedImage, SmoothScaleToTheSameSizeCopies)
{
    TFastBMP image(31, 17);
    for (int y = 0; y < 17; ++y)
        for (int x = 0; x < 31; ++x)
            image.SetPixel(x, y, PackRGB(x * 8, y * 15, (x * y) & 255));
    EXPECT_TRUE(ResizedImage(image, {31, 17, true, true}).SamePixels(image));
    EXPECT_TRUE(ResizedImage(image, {31, 17, true, false}).SamePixels(image));
    EXPECT_EQ(ResizedImage(image, {62, 34, true, false}).Pixel(3, 5), image.Pixel(1, 2));
}

TEST(EditCommands, PasteAsNewImageKeepsTheFileName)
{
    Desk d(10, 10);
    d.editor->Document.DocFileName = "/tmp/old.bmp";
    d.Put(7, 3, Red);
    d.edits.PasteAsNewImage();
    EXPECT_EQ(d.editor->Image.Width, 7);
    EXPECT_EQ(d.editor->Document.ModifiedCount, 1);
    EXPECT_EQ(d.editor->Document.DocFileName, "/tmp/old.bmp");
    EXPECT_EQ(d.editor->UndoCount, 0);
}

} // namespace
} // namespace krt
