#include "app/EffectFrame.h"
#include "document/Undo.h"
#include "paint/FloatingBlock.h"
#include "paint/SelectionShapes.h"
#include "support/EditorFixture.h"
#include "support/FakeWindows.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

namespace krt {
namespace {

using test::FakeWindows;
using test::NewEditor;

// An effect that records what it was given and, when applied, paints every
// pixel of the target with the colour `paint` (after the undo snapshot, as a
// dialog's OK does).
struct FakeEffect : Effect {
    FakeEffect(Editor& e, bool dialog, bool apply, PackedColor color = PackRGB(200, 10, 10))
        : editor(e), withDialog(dialog), applied(apply), paint(color)
    {}
    bool HasDialog() const override { return withDialog; }
    bool Run(TFastBMP& target, const TFastBMP& source, const Confirm& confirmed) override
    {
        ++runs;
        sourceWasTarget = source.SamePixels(target);
        sameSize = source.Width == target.Width && source.Height == target.Height;
        if (!applied)
            return false;
        if (withDialog)
            confirmed();
        target.Fill(paint);
        return true;
    }
    Editor& editor;
    bool withDialog, applied;
    PackedColor paint;
    int runs = 0;
    bool sourceWasTarget = false, sameSize = false;
};

struct Desk {
    Desk() : editor(NewEditor(20, 10)), windows(*editor), frame(*editor, windows, windows)
    {
        editor->Image.SetPixel(1, 1, PackRGB(1, 2, 3));
    }
    void Select() { SetRectSelection(*editor, 4, 2, 9, 6); } // columns 4..9, rows 2..6
    std::unique_ptr<Editor> editor;
    FakeWindows windows;
    EffectFrame frame;
};

TEST(EffectFrame, OnTheWholeImage)
{
    struct Case {
        const char* what;
        bool dialog, applied;
        int undoSteps; // snapshots added
        bool changed;  // the image took the effect
    };
    const Case cases[] = {
        {"dialog, OK", true, true, 1, true},
        {"dialog, cancelled", true, false, 0, false},
        {"no dialog", false, true, 1, true},
    };
    for (const Case& c : cases) {
        Desk d;
        TFastBMP original;
        original.CopyFrom(d.editor->Image);
        FakeEffect effect(*d.editor, c.dialog, c.applied);
        d.frame.ApplyEffect(effect);
        EXPECT_TRUE(effect.sourceWasTarget && effect.sameSize) << c.what << ": the source is the image as it was";
        EXPECT_EQ(d.editor->UndoCount, c.undoSteps) << c.what;
        EXPECT_EQ(d.editor->Image.Pixel(1, 1) == PackRGB(200, 10, 10), c.changed) << c.what;
        EXPECT_EQ(d.editor->Document.ModifiedCount, c.changed ? 1 : 0)
            << c.what << ": a cancelled effect leaves the picture unchanged";
        EXPECT_EQ(d.windows.viewRedraws, 1) << c.what;
        EXPECT_EQ(d.windows.previewRedraws, 1) << c.what;
        if (c.undoSteps) {
            UndoLast(*d.editor);
            EXPECT_TRUE(d.editor->Image.SamePixels(original)) << c.what << ": Undo restores the image";
        }
    }
}

TEST(EffectFrame, OnTheFloatingSelection)
{
    struct Case {
        const char* what;
        bool dialog, applied;
        int undoSteps;
    };
    const Case cases[] = {
        {"dialog, OK", true, true, 0}, // the move tool takes no snapshot
        {"no dialog", false, true, 1}, // taken before the move tool is current
        {"dialog, cancelled", true, false, 0},
    };
    for (const Case& c : cases) {
        Desk d;
        d.Select();
        // One cell of the selection is not selected: it must stay empty.
        d.editor->Selection.MaskRow(3)[5] = 0;
        FakeEffect effect(*d.editor, c.dialog, c.applied);
        d.frame.ApplyEffect(effect);
        EXPECT_EQ(d.editor->Settings.CurrentTool, Tool::Move) << c.what;
        EXPECT_EQ(d.windows.toolsSelected, std::vector<Tool>{Tool::Move}) << c.what << ": as its palette button";
        EXPECT_EQ(d.editor->UndoCount, c.undoSteps) << c.what;
        EXPECT_TRUE(d.editor->Selection.HasSelection()) << c.what;
        const TFastBMP& block = d.editor->Selection.FloatingPixels;
        EXPECT_EQ(block.Pixel(1, 1), KeyColor) << c.what << ": the unselected cell stays empty";
        if (!c.applied) {
            EXPECT_EQ(d.windows.viewRedraws + d.windows.previewRedraws, 0) << c.what << ": nothing is redrawn";
            EXPECT_EQ(block.Pixel(0, 0), White) << c.what;
            continue;
        }
        EXPECT_EQ(block.Pixel(0, 0), PackRGB(200, 10, 10)) << c.what;
        EXPECT_EQ(d.editor->Image.Pixel(4, 2), PackRGB(200, 10, 10)) << c.what << ": the block shows in the image";
        EXPECT_EQ(d.editor->Image.Pixel(5, 3), White) << c.what << ": the empty cell shows what lies under it";
        EXPECT_EQ(d.editor->Image.Pixel(3, 2), White) << c.what << ": outside the selection nothing changed";
        EXPECT_EQ(d.windows.viewRedraws, 1) << c.what;
        EXPECT_EQ(d.windows.previewRedraws, 1) << c.what;
    }
}

TEST(EffectFrame, AnEffectThatWritesTheKeyColourLeavesTransparentCells)
{
    Desk d;
    d.editor->Image.Fill(PackRGB(50, 60, 70));
    d.Select();
    FakeEffect effect(*d.editor, true, true, KeyColor);
    d.frame.ApplyEffect(effect);
    // The lifted block left the background colour in its place; the block is now all key colour.
    EXPECT_EQ(d.editor->Image.Pixel(6, 4), d.editor->Settings.BackColor);
}

TEST(EffectFrame, AnEditorsTryOutNeverStaysInTheDocument)
{
    Desk d;
    TFastBMP original;
    original.CopyFrom(d.editor->Image);
    d.editor->Document.ModifiedCount = 3;
    d.frame.RunWithBackup([&](TFastBMP& target, const TFastBMP& source, const Confirm&) {
        EXPECT_TRUE(source.SamePixels(target));
        target.Fill(Black);
        EXPECT_EQ(&target, &d.editor->Image);
    });
    EXPECT_TRUE(d.editor->Image.SamePixels(original));
    EXPECT_EQ(d.editor->Document.ModifiedCount, 3);
    EXPECT_GE(d.windows.viewRedraws, 1);
    // An error in the editor puts the image back too.
    EXPECT_THROW(d.frame.RunWithBackup([](TFastBMP& target, const TFastBMP&, const Confirm&) {
        target.Fill(Black);
        throw std::runtime_error("failed");
    }),
                 std::runtime_error);
    EXPECT_TRUE(d.editor->Image.SamePixels(original));
}

// A try-out while a block floats (the editor opened over a moved selection)
// leaves the picture under the block alone: the next drag moves the block as
// if the editor had never opened, instead of leaving a copy behind.
TEST(EffectFrame, ATryOutLeavesTheFloatingBlocksBackgroundAlone)
{
    auto moved = [](bool tryOut) {
        auto d = std::make_unique<Desk>();
        TFastBMP& image = d->editor->Image;
        for (int y = 0; y < image.Height; ++y)
            for (int x = 0; x < image.Width; ++x)
                image.SetPixel(x, y, PackRGB(x * 10, y * 20, 99));
        d->Select();
        d->windows.SelectTool(Tool::Move);
        MoveSelectionBy(*d->editor, 0, 0, 3, 0);
        if (tryOut)
            d->frame.RunWithBackup([](TFastBMP& target, const TFastBMP&, const Confirm&) { target.Fill(Black); });
        MoveSelectionBy(*d->editor, 0, 0, 3, 0);
        return d;
    };
    const auto plain = moved(false), tried = moved(true);
    EXPECT_TRUE(tried->editor->Image.SamePixels(plain->editor->Image));
    EXPECT_TRUE(tried->editor->BackupImage.SamePixels(plain->editor->BackupImage));
    EXPECT_EQ(tried->editor->Settings.CurrentTool, Tool::Move);
    EXPECT_TRUE(tried->editor->Selection.HasSelection());
    EXPECT_EQ(tried->editor->Document.ModifiedCount, plain->editor->Document.ModifiedCount);
}

} // namespace
} // namespace krt
