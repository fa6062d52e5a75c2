#include "scan/FrameImage.h"
#include "core/KrtError.h"
#include "scan/Acquisition.h"
#include "scan/ScannerChoice.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>

namespace krt {
namespace {

FrameParameters Frame(FrameFormat format, int depth, int width, int bytesPerLine, int lines, bool last = true)
{
    return {format, last, bytesPerLine, width, lines, depth};
}

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values)
{
    return std::vector<std::uint8_t>(values.begin(), values.end());
}

std::vector<std::uint8_t> Words(std::initializer_list<std::uint16_t> values)
{
    std::vector<std::uint8_t> bytes(values.size() * 2);
    std::memcpy(bytes.data(), std::data(values), bytes.size());
    return bytes;
}

TEST(FrameImage, GreyColourDepthsAndPadding)
{
    struct Case {
        const char* what;
        FrameParameters frame;
        std::vector<std::uint8_t> bytes;
        std::vector<PackedColor> want; // row by row
    };
    const Case cases[] = {
        {"8-bit grey, a padding byte per line",
         Frame(FrameFormat::Gray, 8, 2, 3, 2),
         Bytes({0, 200, 99, 7, 255, 99}),
         {PackRGB(0, 0, 0), PackRGB(200, 200, 200), PackRGB(7, 7, 7), White}},
        {"1-bit line art: a set bit is black",
         Frame(FrameFormat::Gray, 1, 10, 2, 1),
         Bytes({0b10100000, 0b01000000}),
         {Black, White, Black, White, White, White, White, White, White, Black}},
        {"16-bit grey by its high byte",
         Frame(FrameFormat::Gray, 16, 2, 4, 1),
         Words({0x12FF, 0xFF00}),
         {PackRGB(0x12, 0x12, 0x12), White}},
        {"8-bit colour",
         Frame(FrameFormat::Rgb, 8, 2, 6, 1),
         Bytes({10, 20, 30, 40, 50, 60}),
         {PackRGB(10, 20, 30), PackRGB(40, 50, 60)}},
        {"16-bit colour",
         Frame(FrameFormat::Rgb, 16, 1, 6, 1),
         Words({0x0102, 0x8000, 0xFFFF}),
         {PackRGB(1, 0x80, 0xFF)}},
        {"1-bit colour: a channel on or off",
         Frame(FrameFormat::Rgb, 1, 2, 1, 1),
         Bytes({0b10101100}),
         {PackRGB(255, 0, 255), PackRGB(0, 255, 255)}},
        {"a hand scan gives its height by its length",
         Frame(FrameFormat::Gray, 8, 1, 1, -1),
         Bytes({1, 2, 3}),
         {PackRGB(1, 1, 1), PackRGB(2, 2, 2), PackRGB(3, 3, 3)}},
    };
    for (const Case& c : cases) {
        FrameImage image;
        image.AddFrame(c.frame, c.bytes);
        const TFastBMP picture = image.Picture();
        ASSERT_EQ(static_cast<std::size_t>(picture.Width * picture.Height), c.want.size()) << c.what;
        for (std::size_t i = 0; i < c.want.size(); ++i)
            EXPECT_EQ(picture.Pixel(static_cast<int>(i) % picture.Width, static_cast<int>(i) / picture.Width),
                      c.want[i])
                << c.what << ", pixel " << i;
    }
}

TEST(FrameImage, ThreePassFramesInAnyOrderAndTheirFaults)
{
    FrameImage image;
    image.AddFrame(Frame(FrameFormat::Blue, 8, 2, 2, 1, false), Bytes({3, 6}));
    image.AddFrame(Frame(FrameFormat::Red, 8, 2, 2, 1, false), Bytes({1, 4}));
    image.AddFrame(Frame(FrameFormat::Green, 16, 2, 4, 1), Words({0x0200, 0x0500}));
    const TFastBMP picture = image.Picture();
    EXPECT_EQ(picture.Pixel(0, 0), PackRGB(1, 2, 3));
    EXPECT_EQ(picture.Pixel(1, 0), PackRGB(4, 5, 6));

    FrameImage twoOfThree;
    twoOfThree.AddFrame(Frame(FrameFormat::Red, 8, 1, 1, 1, false), Bytes({1}));
    twoOfThree.AddFrame(Frame(FrameFormat::Green, 8, 1, 1, 1), Bytes({1}));
    EXPECT_THROW(twoOfThree.Picture(), KrtError);
    FrameImage differing;
    differing.AddFrame(Frame(FrameFormat::Red, 8, 1, 1, 1, false), Bytes({1}));
    EXPECT_THROW(differing.AddFrame(Frame(FrameFormat::Green, 8, 2, 2, 1), Bytes({1, 2})), KrtError);

    for (const FrameParameters& bad : {Frame(FrameFormat::Gray, 4, 2, 1, 1), Frame(FrameFormat::Rgb, 8, 4, 6, 1),
                                       Frame(FrameFormat::Gray, 8, 0, 1, 1), Frame(FrameFormat::Gray, 8, 1, 1, -2)})
        EXPECT_THROW(FrameImage::CheckReadable(bad), KrtError) << bad.depth << " " << bad.pixelsPerLine;
    EXPECT_THROW(FrameImage().AddFrame(Frame(FrameFormat::Gray, 8, MaxImageSide + 1, MaxImageSide + 1, 1),
                                       std::vector<std::uint8_t>(MaxImageSide + 1)),
                 KrtError);
    EXPECT_THROW(FrameImage().Picture(), KrtError) << "no frame, no picture";
}

// A scanner that sends prepared frames piece by piece and can fail or be
// cancelled on the way.
class FakeScanner : public ScannerSession {
public:
    struct Planned {
        FrameParameters parameters;
        std::vector<std::uint8_t> bytes;
    };
    std::deque<Planned> frames;
    std::size_t piece = 3;
    int failAfterReads = -1;
    std::function<void()> onRead;
    int cancels = 0;

    std::vector<ScanOptionInfo> Options() override { return {}; }
    OptionValue Get(const std::string&) override { return 0.0; }
    void Set(const std::string&, const OptionValue&) override {}
    void Start() override
    {
        if (frames.empty())
            throw ScanError("Document feeder out of documents");
        offset = 0;
    }
    FrameParameters Parameters() override { return frames.front().parameters; }
    std::size_t Read(std::uint8_t* data, std::size_t size) override
    {
        if (onRead)
            onRead();
        if (reads++ == failAfterReads)
            throw ScanError("Document feeder jammed");
        const std::vector<std::uint8_t>& bytes = frames.front().bytes;
        const std::size_t n = std::min({size, piece, bytes.size() - offset});
        std::memcpy(data, bytes.data() + offset, n);
        offset += n;
        if (n == 0)
            frames.pop_front();
        return n;
    }
    void Cancel() override { ++cancels; }

private:
    std::size_t offset = 0;
    int reads = 0;
};

TEST(Acquisition, FramesBecomeThePictureWithProgressAndTheScannerEndsIdle)
{
    FakeScanner scanner;
    scanner.frames.push_back({Frame(FrameFormat::Red, 8, 2, 2, 2, false), Bytes({1, 2, 3, 4})});
    scanner.frames.push_back({Frame(FrameFormat::Green, 8, 2, 2, 2, false), Bytes({5, 6, 7, 8})});
    scanner.frames.push_back({Frame(FrameFormat::Blue, 8, 2, 2, 2), Bytes({9, 10, 11, 12})});
    std::atomic<bool> cancel{false};
    std::vector<double> shares;
    const auto picture = AcquireImage(scanner, cancel, [&](double share) { shares.push_back(share); });
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->Pixel(1, 1), PackRGB(4, 8, 12));
    ASSERT_FALSE(shares.empty());
    EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
    EXPECT_DOUBLE_EQ(shares.back(), 1.0);
    EXPECT_GE(scanner.cancels, 1) << "the scanner is told the scan is over";
}

TEST(Acquisition, CancelFailureAndUnreadableFramesLeaveNothing)
{
    std::atomic<bool> cancel{false};
    FakeScanner cancelled;
    cancelled.frames.push_back({Frame(FrameFormat::Gray, 8, 4, 4, 4), std::vector<std::uint8_t>(16, 9)});
    cancelled.onRead = [&] { cancel = true; };
    EXPECT_FALSE(AcquireImage(cancelled, cancel));
    EXPECT_GE(cancelled.cancels, 1);

    // Cancelled while it was reading, the scanner answers with an I/O error:
    // the user asked for the stop, so there is no message.
    cancel = false;
    FakeScanner failsOnCancel;
    failsOnCancel.frames.push_back({Frame(FrameFormat::Gray, 8, 4, 4, 4), std::vector<std::uint8_t>(16, 9)});
    failsOnCancel.onRead = [&] { cancel = true; };
    failsOnCancel.failAfterReads = 0;
    try {
        EXPECT_FALSE(AcquireImage(failsOnCancel, cancel));
    } catch (const KrtError& e) {
        ADD_FAILURE() << "a scan the user cancelled was reported: " << e.what();
    }

    cancel = false;
    FakeScanner jammed;
    jammed.frames.push_back({Frame(FrameFormat::Gray, 8, 4, 4, 4), std::vector<std::uint8_t>(16, 9)});
    jammed.failAfterReads = 2;
    try {
        AcquireImage(jammed, cancel);
        ADD_FAILURE() << "a jammed scanner gave a picture";
    } catch (const KrtError& e) {
        EXPECT_STREQ(e.what(), "The scan failed: Document feeder jammed.");
    }
    EXPECT_GE(jammed.cancels, 1);

    FakeScanner fourBits;
    fourBits.frames.push_back({Frame(FrameFormat::Gray, 4, 2, 1, 1), Bytes({0x12})});
    try {
        AcquireImage(fourBits, cancel);
        ADD_FAILURE() << "4-bit samples were read";
    } catch (const KrtError& e) {
        EXPECT_NE(std::string(e.what()).find("4 bits per sample"), std::string::npos) << e.what();
    }
}

TEST(ScannerChoice, TheChosenScannerWhileItIsThereElseTheFirst)
{
    test::TempFolder folder;
    const std::string file = folder.Path("config/scanner").string();
    EXPECT_EQ(LoadChosenScanner(file), "");
    SaveChosenScanner(file, "test:1");
    EXPECT_EQ(LoadChosenScanner(file), "test:1");
    const std::vector<ScannerInfo> devices{{"test:0", "Noname", "tester", "virtual"}, {"test:1", "", "", ""}};
    EXPECT_EQ(ScannerToUse(devices, "test:1"), "test:1");
    EXPECT_EQ(ScannerToUse(devices, "gone:0"), "test:0");
    EXPECT_EQ(ScannerToUse({}, "test:1"), "");
    EXPECT_EQ(devices[0].Label(), "Noname tester (test:0)");
    EXPECT_EQ(devices[1].Label(), "test:1");
}

} // namespace
} // namespace krt
