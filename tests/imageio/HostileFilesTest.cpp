#include "app/LayoutFile.h"
#include "core/KrtError.h"
#include "imageio/ImageFiles.h"
#include "lang/Language.h"
#include "library/LibraryFile.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>

namespace krt {
namespace {

// Every file of the hostile-input corpus is decoded in a child process with
// 1 GiB of address space and 20 s of processor time: it must be accepted or
// refused as expected.txt says, with a message, and never crash or run out.
TEST(HostileFiles, EachIsAcceptedOrRefusedWithinBoundedCost)
{
    std::ifstream list(test::ProjectData("hostile/expected.txt"));
    ASSERT_TRUE(list) << "tests/data/hostile/expected.txt is missing";
    int walked = 0;
    for (std::string line; std::getline(list, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name, outcome, within, unit;
        fields >> name >> outcome >> within;
        // "refuse:word": the refusal must say why in that word.
        const std::string reason = outcome.find(':') == std::string::npos ? "" : outcome.substr(outcome.find(':') + 1);
        outcome = outcome.substr(0, outcome.find(':'));
        const std::string path = test::ProjectData("hostile/" + name).string();
        test::ChildLimits limits;
        limits.cpuSeconds = 20;
        std::uint64_t mebibytes = 0;
        if (within == "within" && fields >> mebibytes >> unit)
            limits.addressSpaceHeadroom = mebibytes << 20;
        else
            limits.addressSpace = std::uint64_t{1} << 30;
        const test::ChildOutcome result = test::RunInChild(
            [&] {
                TFastBMP image;
                try {
                    ReadImageFile(path, image);
                } catch (const KrtError& e) {
                    // A refusal names the file and says why, on one line.
                    const std::string text = e.what();
                    return text.find(name) != std::string::npos && text.find('\n') == std::string::npos &&
                                   text.find(reason) != std::string::npos
                               ? 1
                               : 2;
                }
                return image.Empty() ? 3 : 0;
            },
            limits);
        ASSERT_TRUE(result.exited) << name << " killed the decoder with signal " << result.signal;
        EXPECT_EQ(result.code, outcome == "accept" ? 0 : 1) << name << " should be " << outcome << "ed";
        ++walked;
    }
    EXPECT_GE(walked, 9);
}

// A named pipe where the editor expects a picture, its language file, its
// layout file or a library must not hold it up: each is refused (or its
// default taken) at once.
TEST(HostileFiles, NamedPipesNeverHoldTheEditorUp)
{
    test::TempFolder folder;
    const std::string pipe = folder.Path("pipe").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const std::pair<const char*, std::function<bool()>> readers[] = {
        {"picture",
         [&] {
             TFastBMP image;
             try {
                 ReadImageFile(pipe, image);
             } catch (const KrtError& e) {
                 return std::string(e.what()).find("not a regular file") != std::string::npos;
             }
             return false;
         }},
        {"language file", [&] { return LoadLanguage(pipe) == Language::English; }},
        {"layout file", [&] { return LayoutLookup(LoadWindowLayout(pipe), "Form1", "Width", 0) == 726; }},
        {"library", [&] { return !ReadLibraryFile(pipe).complete; }},
    };
    for (const auto& [what, read] : readers) {
        test::ChildLimits limits;
        limits.wallSeconds = 5;
        const test::ChildOutcome result = test::RunInChild([&] { return read() ? 0 : 1; }, limits);
        ASSERT_TRUE(result.exited) << "reading a named pipe as the " << what << " blocked (signal " << result.signal
                                   << ")";
        EXPECT_EQ(result.code, 0) << what;
    }
}

} // namespace
} // namespace krt
