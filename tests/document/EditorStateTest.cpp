#include "core/DataPaths.h"
#include "document/DocumentState.h"
#include "document/Editor.h"
#include "document/OutlinePhase.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace krt {
namespace {

TEST(OutlinePhase, CyclesThroughFourLooks)
{
    // every point; every second from 1; every point from 1; every second from 0
    const std::pair<int, int> expected[] = {{0, 0}, {1, 1}, {1, 0}, {0, 1}, {0, 0}, {1, 1}};
    OutlinePhase phase;
    for (const auto& [start, gap] : expected) {
        EXPECT_EQ(phase.OutlineStart, start);
        EXPECT_EQ(phase.OutlineGap, gap);
        phase.Advance();
    }
}

TEST(OutlinePhase, PlotsEverySecondPointFromTheStart)
{
    const std::uint16_t rows[] = {0, 0, 0, 0, 0, 1};
    const std::uint16_t columns[] = {0, 1, 2, 3, 4, 9}; // the last lies outside
    OutlinePhase phase;
    phase.OutlineStart = 1;
    phase.OutlineGap = 1;
    TFastBMP display(5, 2);
    PlotOutline(display, rows, columns, 6, phase);
    for (int x = 0; x < 5; ++x)
        EXPECT_EQ(display.Pixel(x, 0), x % 2 == 1 ? RubberBandColor : Black) << x;
}

TEST(Editor, StartsWithAWhiteThousandPixelSquare)
{
    test::TempFolder folder;
    Editor editor(Language::English, DataPaths{folder.Path(), folder.Path()});
    EXPECT_EQ(editor.Image.Width, 1000);
    EXPECT_EQ(editor.Image.Height, 1000);
    EXPECT_EQ(editor.Image.Pixel(0, 0), White);
    EXPECT_EQ(editor.Image.Pixel(999, 999), White);
    EXPECT_EQ(editor.BackupImage.Width, 1000);
    for (const TFastBMP& snapshot : editor.UndoRing)
        EXPECT_EQ(snapshot.Height, 1000);
    EXPECT_EQ(editor.Settings.CurrentTool, Tool::Pencil);
    EXPECT_EQ(editor.Settings.BrushSize, 5);
    EXPECT_EQ(editor.Settings.Transparency, 0);
    EXPECT_FLOAT_EQ(editor.View.Zoom, 2.0f);
    EXPECT_FALSE(editor.Selection.HasSelection());
    EXPECT_EQ(editor.Document.ModifiedCount, 0);
    EXPECT_EQ(editor.Selection.SelectionMask.size(), 1000000u);
    EXPECT_EQ(editor.Settings.PosterizeG[77], 77);
}

TEST(DocumentState, TitlesFollowTheFileName)
{
    EXPECT_EQ(TitleForFile("/home/ann/pictures/sea.jpg"), "KRT Dalmor's Photo Editor - sea.jpg");
    EXPECT_EQ(TitleForFile("plain.bmp"), "KRT Dalmor's Photo Editor - plain.bmp");
    EXPECT_EQ(TitleForNewImage(), "KRT Dalmor's Photo Editor - untitled");
}

TEST(DataPaths, UserFolderIsPreparedOnceAndNeverOverwritten)
{
    test::TempFolder folder;
    const auto home = folder.Path("home/krt");
    PrepareUserFolder(home);
    EXPECT_EQ(test::ReadBytes(home / "krtphoto.lng").size(), 9u); // "English\r\n"
    const auto library = test::ReadBytes(home / "ueffect.prg");
    EXPECT_EQ(std::string(library.begin(), library.end()), "0\r\n");
    test::WriteBytes(home / "krtphoto.lng", "Russian\r\n");
    PrepareUserFolder(home);
    const auto lng = test::ReadBytes(home / "krtphoto.lng");
    EXPECT_EQ(std::string(lng.begin(), lng.end()), "Russian\r\n");

    ::setenv("KRTPHOTO_HOME", home.c_str(), 1);
    EXPECT_EQ(DataPaths::FromEnvironment().userFolder, home);
    ::unsetenv("KRTPHOTO_HOME");
    ::setenv("XDG_DATA_HOME", folder.Path("xdg").c_str(), 1);
    EXPECT_EQ(DataPaths::FromEnvironment().userFolder, folder.Path("xdg") / "krtphoto");
    ::unsetenv("XDG_DATA_HOME");
}

} // namespace
} // namespace krt
