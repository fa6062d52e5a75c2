#include "app/ImageFiles.h"
#include "core/KrtError.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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
        std::string name, outcome;
        fields >> name >> outcome;
        const std::string path = test::ProjectData("hostile/" + name).string();
        test::ChildLimits limits;
        limits.addressSpace = std::uint64_t{1} << 30;
        limits.cpuSeconds = 20;
        const test::ChildOutcome result = test::RunInChild(
            [&] {
                TFastBMP image;
                try {
                    ReadImageFile(path, image);
                } catch (const KrtError& e) {
                    // A refusal names the file and says why, on one line.
                    const std::string text = e.what();
                    return text.find(name) != std::string::npos && text.find('\n') == std::string::npos ? 1 : 2;
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

} // namespace
} // namespace krt
