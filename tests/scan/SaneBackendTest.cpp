// The SANE scanner service against the "test" backend that ships with
// libsane, configured by the test itself.

#include "core/KrtError.h"
#include "scan/Acquisition.h"
#include "scan/SaneScanner.h"
#include "support/SaneTestBackend.h"

#include <gtest/gtest.h>

namespace krt {
namespace {

using test::SaneConfiguration;

// A scan with these settings on the first test scanner.
std::optional<TFastBMP> ScanWith(const std::vector<std::pair<std::string, OptionValue>>& settings,
                                 const std::atomic<bool>& cancel = std::atomic<bool>{false},
                                 const std::function<void(double)>& progress = {})
{
    auto service = StartSane();
    const auto devices = service->Devices();
    EXPECT_FALSE(devices.empty());
    auto scanner = service->Open(devices.at(0).name);
    for (const auto& [name, value] : settings)
        scanner->Set(name, value);
    return AcquireImage(*scanner, cancel, progress);
}

bool AllPixels(const TFastBMP& picture, PackedColor color)
{
    for (int y = 0; y < picture.Height; ++y)
        for (int x = 0; x < picture.Width; ++x)
            if (picture.Pixel(x, y) != color)
                return false;
    return true;
}

TEST(SaneBackend, GreyAndColourScansOfAKnownSizeAndPattern)
{
    KRT_REQUIRE_SANE_TEST_BACKEND();
    SaneConfiguration sane(SaneConfiguration::Backends::Test);
    // 80 x 100 mm at 50 dpi: 157 x 196 pixels.
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, OptionValue>> settings;
        PackedColor everywhere;
    };
    using S = std::string;
    const Case cases[] = {
        {"grey, 8 bits", {{"mode", S("Gray")}, {"test-picture", S("Solid white")}}, White},
        {"grey, 16 bits", {{"mode", S("Gray")}, {"depth", 16.0}, {"test-picture", S("Solid white")}}, White},
        {"line art, white", {{"mode", S("Gray")}, {"depth", 1.0}, {"test-picture", S("Solid white")}}, White},
        {"line art, black", {{"mode", S("Gray")}, {"depth", 1.0}, {"test-picture", S("Solid black")}}, Black},
        {"colour, one pass", {{"mode", S("Color")}, {"test-picture", S("Solid white")}}, White},
        {"colour, 16 bits", {{"mode", S("Color")}, {"depth", 16.0}, {"test-picture", S("Solid white")}}, White},
        {"colour, three passes",
         {{"mode", S("Color")},
          {"three-pass", true},
          {"three-pass-order", S("GBR")},
          {"test-picture", S("Solid white")}},
         White},
        {"colour, black", {{"mode", S("Color")}, {"test-picture", S("Solid black")}}, Black},
        {"colour, 1 bit", {{"mode", S("Color")}, {"depth", 1.0}, {"test-picture", S("Solid white")}}, White},
    };
    for (const Case& c : cases) {
        const auto picture = ScanWith(c.settings);
        ASSERT_TRUE(picture) << c.what;
        EXPECT_EQ(picture->Width, 157) << c.what;
        EXPECT_EQ(picture->Height, 196) << c.what;
        EXPECT_TRUE(AllPixels(*picture, c.everywhere)) << c.what;
    }
    // The grid: black and white squares of 10 mm (about 19.7 pixels).
    const auto grid = ScanWith({{"mode", S("Color")}, {"test-picture", S("Grid")}, {"resolution", 100.0}});
    ASSERT_TRUE(grid);
    EXPECT_EQ(grid->Width, 314);
    EXPECT_NE(grid->Pixel(10, 10), grid->Pixel(50, 10));
    EXPECT_EQ(grid->Pixel(10, 10), grid->Pixel(50, 50));
    EXPECT_EQ(grid->Pixel(50, 10), grid->Pixel(10, 50));
}

// Cancel after three progress reports, a jammed scanner, a scan cancelled at
// the scanner: 0 when each ends as it should, else the number of the first
// that does not.
int CancelAndFailures()
{
    SaneConfiguration sane(SaneConfiguration::Backends::Test);
    std::atomic<bool> cancel{false};
    int reports = 0;
    const auto cancelled = ScanWith(
        {{"read-limit", true}, {"read-limit-size", 1000.0}, {"read-delay", true}, {"read-delay-duration", 5000.0}},
        cancel, [&](double) {
            if (++reports == 3)
                cancel = true;
        });
    if (cancelled || reports < 3)
        return 1;
    try {
        ScanWith({{"read-return-value", std::string("SANE_STATUS_JAMMED")}});
        return 2; // a jammed scanner gave a picture
    } catch (const KrtError& e) {
        if (std::string(e.what()).find("The scan failed: ") == std::string::npos)
            return 3;
    }
    return ScanWith({{"read-return-value", std::string("SANE_STATUS_CANCELLED")}}) ? 4 : 0;
}

// The SANE test backend cancels its reader thread asynchronously; now and
// then that thread dies holding the C library's allocator lock and the
// backend's own sane_cancel waits for it for ever (about once in thirty runs
// on a busy machine; the stack ends in sane_test_cancel). So the scans run in
// a child with a time limit, and a hung child is tried once more: a hang of
// our own would hang both.
TEST(SaneBackend, CancelStopsTheScanAndTheScannerFailuresAreReported)
{
    KRT_REQUIRE_SANE_TEST_BACKEND();
    test::ChildLimits limits;
    limits.wallSeconds = 60;
    test::ChildOutcome outcome = test::RunInChild(CancelAndFailures, limits);
    if (!outcome.exited)
        outcome = test::RunInChild(CancelAndFailures, limits);
    ASSERT_TRUE(outcome.exited) << "the scans hung twice (signal " << outcome.signal << ")";
    EXPECT_EQ(outcome.code, 0) << "1: cancel did not stop the scan, 2: a jammed scanner gave a picture, 3: its "
                                  "message, 4: a scan cancelled at the scanner gave a picture";
}

TEST(SaneBackend, WithoutAScannerThereAreNoDevices)
{
    SaneConfiguration sane(SaneConfiguration::Backends::None);
    EXPECT_TRUE(StartSane()->Devices().empty());
    EXPECT_THROW(StartSane()->Open("nosuchbackend:0"), ScanError);
}

} // namespace
} // namespace krt
