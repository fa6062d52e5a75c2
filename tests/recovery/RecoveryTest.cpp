#include "imageio/Exif.h"
#include "recovery/RecoveryKeeper.h"
#include "recovery/RecoveryStore.h"
#include "recovery/RecoveryWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <unistd.h>

namespace krt {
namespace {

using test::TempFolder;
using Step = RecoveryKeeper::Step;
using Clock = RecoveryKeeper::Clock;

Clock::time_point At(int seconds) { return Clock::time_point(std::chrono::seconds(1000 + seconds)); }

// The schedule: a change the copy lacks is written 30 s after it, never
// during a stroke (then right after it), and a picture without unsaved
// changes keeps no copy. Each row is one call at one second.
TEST(RecoveryKeeper, WritesThirtySecondsAfterAnUncoveredChangeAndNeverDuringAStroke)
{
    enum Call { Change, Next, Written, Failed, Discard };
    struct Row {
        Call call;
        int second;
        bool busy;
        bool unsaved;
        Step expected; // for Next and Discard
    };
    struct Case {
        const char* what;
        std::vector<Row> rows;
    };
    const Case cases[] = {
        {"due 30 s after the change, not before",
         {{Change, 0, false, true, {}}, {Next, 29, false, true, Step::Wait}, {Next, 30, false, true, Step::Write}}},
        {"the copy holds the change",
         {{Change, 0, false, true, {}}, {Written, 30, false, true, {}}, {Next, 100, false, true, Step::Wait}}},
        {"a stroke under way puts it off, then right after it",
         {{Change, 0, false, true, {}},
          {Next, 30, true, true, Step::Wait},
          {Next, 45, true, true, Step::Wait},
          {Next, 46, false, true, Step::Write}}},
        {"a later change counts from the first one the copy lacks",
         {{Change, 0, false, true, {}}, {Change, 20, false, true, {}}, {Next, 30, false, true, Step::Write}}},
        {"unsaved changes that came without a release still get a copy",
         {{Next, 0, false, true, Step::Wait}, {Next, 30, false, true, Step::Write}}},
        {"nothing unsaved, nothing written", {{Change, 0, false, false, {}}, {Next, 60, false, false, Step::Wait}}},
        {"saved (no unsaved changes left): the copy goes",
         {{Change, 0, false, true, {}},
          {Written, 30, false, true, {}},
          {Next, 40, false, false, Step::Remove},
          {Next, 41, false, false, Step::Wait}}},
        {"the user dropped the changes: the copy goes, and comes again while they stay",
         {{Change, 0, false, true, {}},
          {Written, 30, false, true, {}},
          {Discard, 40, false, true, Step::Remove},
          {Next, 69, false, true, Step::Wait},
          {Next, 70, false, true, Step::Write}}},
        {"a failed write is tried again 30 s later",
         {{Change, 0, false, true, {}},
          {Written, 30, false, true, {}},
          {Failed, 31, false, true, {}},
          {Next, 60, false, true, Step::Wait},
          {Next, 61, false, true, Step::Write}}},
    };
    for (const Case& c : cases) {
        RecoveryKeeper keeper;
        for (const Row& row : c.rows) {
            switch (row.call) {
            case Change: keeper.Changed(At(row.second), row.unsaved); break;
            case Next: EXPECT_EQ(keeper.Next(At(row.second), row.busy, row.unsaved), row.expected) << c.what; break;
            case Written: keeper.Written(); break;
            case Failed: keeper.WriteFailed(At(row.second)); break;
            case Discard: EXPECT_EQ(keeper.Discard(At(row.second), row.unsaved), row.expected) << c.what; break;
            }
        }
    }
}

RecoveryCopy About(const std::string& name, std::int64_t time)
{
    RecoveryCopy about;
    about.fileName = name;
    about.title = "KRT Dalmor's Photo Editor - " + name;
    about.jpegQuality = 80;
    about.time = time;
    return about;
}

// A running editor's copy is never offered; once its editor is gone (its
// lock free), the copy is offered newest first, reads back the same pixels
// and is moved aside or adopted.
TEST(RecoveryStore, OffersOnlyTheCopiesOfEditorsThatAreGone)
{
    TempFolder folder;
    const TFastBMP older = test::PatternImage(40, 30), newer = test::PatternImage(17, 9);
    RecoveryStore me(folder.Path());
    {
        RecoveryStore running(folder.Path());
        RecoveryCopy about = About("/pictures/older.jpg", 100);
        // A photo's camera data comes back with it, orientation 1 (its pixels are upright).
        about.exif = {'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 1, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
        running.Write(older, about);
        EXPECT_TRUE(me.FindLeftovers().copies.empty()) << "its editor still runs";
    } // that editor ends without removing its copy: it was killed
    {
        RecoveryStore other(folder.Path());
        other.Write(newer, About("", 200));
    }
    RecoveryFindings found = me.FindLeftovers();
    ASSERT_EQ(found.copies.size(), 2u);
    EXPECT_TRUE(found.damaged.empty());
    EXPECT_EQ(found.copies[0].fileName, "") << "newest first";
    EXPECT_EQ(found.copies[1].fileName, "/pictures/older.jpg");
    EXPECT_EQ(found.copies[1].title, "KRT Dalmor's Photo Editor - /pictures/older.jpg");
    EXPECT_EQ(found.copies[1].jpegQuality, 80);
    TFastBMP read;
    std::vector<std::uint8_t> exif;
    me.Load(found.copies[1], read, &exif);
    EXPECT_TRUE(read.SamePixels(older));
    EXPECT_EQ(exif.size(), 26u);
    EXPECT_EQ(ExifOrientation(exif), 1);

    me.Discard(found.copies[0]);
    me.Adopt(found.copies[1]);
    RecoveryStore later(folder.Path());
    EXPECT_TRUE(later.FindLeftovers().copies.empty()) << "one copy moved aside, the other adopted by a running editor";
    EXPECT_TRUE(std::filesystem::exists(folder.Path("discarded") / (found.copies[0].id + ".png")));
    me.Remove();
    EXPECT_TRUE(later.FindLeftovers().copies.empty());
}

// Copies that cannot be read are reported and moved aside, never deleted;
// an unfinished write is removed; the folder then holds nothing else.
TEST(RecoveryStore, DamagedCopiesAreReportedAndMovedAside)
{
    TempFolder folder;
    const std::filesystem::path f = folder.Path();
    test::WriteBytes(f / "krtphoto-1-1.png", "\x89PNG picture without a description");
    test::WriteBytes(f / "krtphoto-1-2.txt", "file=/a.jpg\ntitle=x\nquality=0\ntime=5\npid=0\n"); // no picture
    test::WriteBytes(f / "krtphoto-1-3.txt", "not a description\n");
    test::WriteBytes(f / "krtphoto-1-3.png", "\x89PNG");
    test::WriteBytes(f / "krtphoto-1-4.part", "half a picture");
    RecoveryStore store(f);
    const RecoveryFindings found = store.FindLeftovers();
    EXPECT_TRUE(found.copies.empty());
    ASSERT_EQ(found.damaged.size(), 3u);
    for (const char* name : {"krtphoto-1-1.png", "krtphoto-1-2.txt", "krtphoto-1-3.txt", "krtphoto-1-3.png"})
        EXPECT_TRUE(std::filesystem::exists(f / "discarded" / name)) << name;
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(f))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"discarded"});
}

// A copy that cannot be written leaves nothing behind and says why, once;
// the writer goes on and the next attempt can succeed.
TEST(RecoveryWriter, AFailedWriteInterruptsNobodyAndTheNextOneCanSucceed)
{
    TempFolder folder;
    test::WriteBytes(folder.Path("not a folder"), "a file where the folder should be");
    RecoveryStore blocked(folder.Path("not a folder") / "recovery");
    int failures = 0;
    {
        RecoveryWriter writer(blocked, [&] { ++failures; });
        writer.Write({test::PatternImage(8, 8), About("a.jpg", 1)});
        writer.Finish();
    }
    EXPECT_EQ(failures, 1);

    RecoveryStore store(folder.Path("recovery"));
    RecoveryWriter writer(store, [&] { ++failures; });
    writer.Write({test::PatternImage(8, 8), About("a.jpg", 2)});
    writer.Finish();
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(std::filesystem::exists(folder.Path("recovery")));
    writer.Remove();
    writer.Finish();
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path("recovery")))
        EXPECT_EQ(entry.path().extension(), ".lock") << entry.path();
}

// An editor killed (SIGKILL) after its copy was written: the next start
// offers the copy, and it holds the same pixels and name.
TEST(RecoveryStore, ACopySurvivesItsEditorBeingKilled)
{
    TempFolder folder;
    const TFastBMP picture = test::PatternImage(123, 45);
    const test::ChildOutcome child = test::RunInChild([&] {
        RecoveryStore store(folder.Path());
        RecoveryWriter writer(store, {});
        writer.Write({test::PatternImage(123, 45), About("/home/me/photo.jpg", 7)});
        writer.Finish();
        ::raise(SIGKILL);
        return 0;
    });
    ASSERT_FALSE(child.exited);
    EXPECT_EQ(child.signal, SIGKILL);
    RecoveryStore next(folder.Path());
    const RecoveryFindings found = next.FindLeftovers();
    ASSERT_EQ(found.copies.size(), 1u);
    EXPECT_EQ(found.copies[0].fileName, "/home/me/photo.jpg");
    TFastBMP read;
    next.Load(found.copies[0], read);
    EXPECT_TRUE(read.SamePixels(picture));
}

} // namespace
} // namespace krt
