// The GIF conformance suite and the image-rs samples: the first image on its
// logical screen matches the suite's first frame (transparent there = white
// here); malformed files fail with a message, never a crash or a hang.

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

namespace krt {
namespace {

using test::TestData;

std::map<std::string, std::string> ReadConf(const std::filesystem::path& file)
{
    std::map<std::string, std::string> values;
    std::ifstream in(file);
    std::string line, section;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            section = line.substr(1, line.find(']') - 1);
            continue;
        }
        const auto eq = line.find(" = ");
        if (eq != std::string::npos)
            values[section + "." + line.substr(0, eq)] = line.substr(eq + 3);
    }
    return values;
}

// Tests whose first frame this decoder deliberately does not show.
const std::map<std::string, std::string> Refused = {
    {"max-width", "a side above 32767 pixels"},
    {"max-height", "a side above 32767 pixels"},
    {"no-data", "image data cut short is not shown as a partial picture"},
    {"image-zero-width", "an image without pixels and with an invalid code size"},
    {"image-zero-height", "an image without pixels and with an invalid code size"},
    {"image-zero-size", "an image without pixels and with an invalid code size"},
    {"max-codes", "giflib refuses LZW code sizes above 8 bits"},
};
// Tests whose first frame combines several images; the editor takes the first image.
const std::set<std::string> SeveralImagesInFirstFrame = {"images-combine",
                                                         "images-overlap",
                                                         "animation-multi-image",
                                                         "animation-multi-image-explicit-zero-delay",
                                                         "gif87a-animation",
                                                         "animation-no-delays",
                                                         "high-color",
                                                         "dispose-restore-previous"};

// Checks one test of the suite; returns whether its pixels were compared.
bool CheckSuiteTest(const std::string& name)
{
    SCOPED_TRACE(name);
    const auto conf = ReadConf(TestData("gif-suite/" + name + ".conf"));
    std::string error;
    const auto image = test::TryDecode(TestData("gif-suite/" + conf.at("config.input")), &error);
    const std::string frames = conf.count("config.frames") ? conf.at("config.frames") : "";
    if (Refused.count(name)) {
        EXPECT_FALSE(image) << "expected a refusal: " << Refused.at(name);
        EXPECT_FALSE(error.empty());
        return false;
    }
    if (frames.empty()) {
        // Malformed: either a refusal with a message or some sensible picture.
        EXPECT_TRUE(image || !error.empty());
        return false;
    }
    if (!image) {
        ADD_FAILURE() << error;
        return false;
    }
    const int w = std::stoi(conf.at("config.width"));
    const int h = std::stoi(conf.at("config.height"));
    if (image->Width != w || image->Height != h) {
        ADD_FAILURE() << "size " << image->Width << " x " << image->Height;
        return false;
    }
    if (SeveralImagesInFirstFrame.count(name))
        return false;
    const auto rgba = test::ReadBytes(TestData("gif-suite/" + conf.at("frame0.pixels")));
    if (rgba.size() != static_cast<std::size_t>(w) * h * 4) {
        ADD_FAILURE() << "reference size";
        return false;
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
            const PackedColor expected = p[3] == 0 ? White : PackRGB(p[0], p[1], p[2]);
            if (image->Pixel(x, y) != expected) {
                ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << image->Pixel(x, y) << " instead of "
                              << expected;
                return false;
            }
        }
    return true;
}

TEST(GifCorpus, FirstImageMatchesTheSuite)
{
    KRT_REQUIRE_CORPUS("gif-suite");
    std::ifstream list(TestData("gif-suite/TESTS"));
    std::string name;
    int compared = 0;
    while (list >> name)
        compared += CheckSuiteTest(name) ? 1 : 0;
    EXPECT_GE(compared, 60);
}

TEST(GifCorpus, SamplesDecodeAndHostileFilesFailCleanly)
{
    KRT_REQUIRE_CORPUS("gif-image-rs");
    for (const auto& file : test::CorpusFiles(TestData("gif-image-rs"), ".gif", true)) {
        std::string error;
        const auto image = test::TryDecode(file, &error);
        const std::string path = file.string();
        if (path.find("/samples/") != std::string::npos || path.find("/regression/issue-208") != std::string::npos ||
            path.find("/benches/") != std::string::npos) {
            EXPECT_TRUE(image) << path << ": " << error;
        } else if (!image) {
            EXPECT_FALSE(error.empty()) << path;
        }
    }
}

} // namespace
} // namespace krt
