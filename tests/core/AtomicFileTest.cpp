#include "core/AtomicFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/stat.h>

namespace krt {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

void Save(const fs::path& path, const std::string& text)
{
    AtomicFile file(path.string());
    file.Write(text.data(), text.size());
    file.Commit(false);
}

std::string Text(const fs::path& path)
{
    const auto bytes = test::ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// Only what the test made is in the folder: no temporary file was left.
void ExpectNoLeftovers(const fs::path& folder, std::size_t entries)
{
    EXPECT_EQ(static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator())),
              entries);
}

TEST(AtomicFile, ASymbolicLinkStaysALinkToTheSavedFile)
{
    TempFolder folder;
    test::WriteBytes(folder.Path("real.bmp"), "old");
    fs::create_symlink("real.bmp", folder.Path("link.bmp"));
    Save(folder.Path("link.bmp"), "new");
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(folder.Path("link.bmp"))));
    EXPECT_EQ(Text(folder.Path("real.bmp")), "new");
    ExpectNoLeftovers(folder.Path(), 2);
}

TEST(AtomicFile, AReadOnlyFileIsRefusedWithTheSystemsReason)
{
    TempFolder folder;
    test::WriteBytes(folder.Path("kept.bmp"), "old");
    fs::permissions(folder.Path("kept.bmp"), fs::perms::owner_read | fs::perms::group_read);
    try {
        Save(folder.Path("kept.bmp"), "new");
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), std::strerror(EACCES));
    }
    EXPECT_EQ(Text(folder.Path("kept.bmp")), "old");
    ExpectNoLeftovers(folder.Path(), 1);
}

TEST(AtomicFile, AReplacedFileKeepsItsRightsAndANewOneGetsTheUsualOnes)
{
    TempFolder folder;
    test::WriteBytes(folder.Path("shared.bmp"), "old");
    fs::permissions(folder.Path("shared.bmp"), fs::perms(0640));
    Save(folder.Path("shared.bmp"), "new");
    EXPECT_EQ(fs::status(folder.Path("shared.bmp")).permissions(), fs::perms(0640));
    const mode_t mask = ::umask(022);
    Save(folder.Path("fresh.bmp"), "new");
    ::umask(mask);
    EXPECT_EQ(fs::status(folder.Path("fresh.bmp")).permissions(), fs::perms(0644));
}

TEST(AtomicFile, ANameAsLongAsNamesMayBeCanBeSaved)
{
    TempFolder folder;
    const fs::path path = folder.Path(std::string(246, 'n') + ".bmp");
    Save(path, "picture");
    EXPECT_EQ(Text(path), "picture");
    ExpectNoLeftovers(folder.Path(), 1);
}

// Beyond the process's file size limit the save fails, the old file stays and
// no temporary file is left; the program goes on.
TEST(AtomicFile, AFileSizeLimitFailsTheSaveInsteadOfEndingTheProgram)
{
    TempFolder folder;
    test::WriteBytes(folder.Path("big.bmp"), "old");
    const test::ChildOutcome result = test::RunInChild([&] {
        const rlimit limit{4096, 4096};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 5;
        try {
            Save(folder.Path("big.bmp"), std::string(100000, 'x'));
        } catch (const std::runtime_error& e) {
            return std::string(e.what()) == std::strerror(EFBIG) ? 0 : 2;
        }
        return 3;
    });
    ASSERT_TRUE(result.exited) << "the save ended the program with signal " << result.signal;
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(Text(folder.Path("big.bmp")), "old");
    ExpectNoLeftovers(folder.Path(), 1);
}

} // namespace
} // namespace krt
