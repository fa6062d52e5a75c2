#include "support/TestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace krt::test {

std::filesystem::path TestData(const std::string& relative)
{
    return std::filesystem::path(KRT_TESTDATA_DIR) / relative;
}

TempFolder::TempFolder()
{
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = std::filesystem::temp_directory_path() / ("krt-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(path))
            return;
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

TFastBMP PatternImage(int w, int h)
{
    TFastBMP image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.SetPixel(x, y, PackRGB(x * 7 + y, y * 13 + x * 3, (x * y) ^ 0x5A));
    return image;
}

int MaxChannelDifference(const TFastBMP& a, const TFastBMP& b)
{
    int worst = 0;
    for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x) {
            const PackedColor p = a.Pixel(x, y), q = b.Pixel(x, y);
            worst = std::max({worst, std::abs(RedOf(p) - RedOf(q)), std::abs(GreenOf(p) - GreenOf(q)),
                              std::abs(BlueOf(p) - BlueOf(q))});
        }
    return worst;
}

} // namespace krt::test

namespace krt::test {

std::optional<TFastBMP> TryDecode(const std::filesystem::path& file, std::string* error, const DecodeLimits& limits)
{
    const auto bytes = ReadBytes(file);
    TFastBMP image;
    try {
        DecodeImage(bytes.data(), bytes.size(), FormatForReading(file.string()).value_or(ImageFormat::Bmp), image,
                    limits);
    } catch (const std::exception& e) {
        if (error)
            *error = e.what();
        return std::nullopt;
    }
    return image;
}

TFastBMP MustDecode(const std::filesystem::path& file)
{
    std::string error;
    auto image = TryDecode(file, &error);
    if (!image)
        throw std::runtime_error(file.string() + ": " + error);
    return std::move(*image);
}

std::vector<std::filesystem::path> CorpusFiles(const std::filesystem::path& folder, const std::string& extension,
                                               bool recursive)
{
    std::vector<std::filesystem::path> files;
    auto take = [&](const std::filesystem::directory_entry& entry) {
        if (entry.is_regular_file() && entry.path().extension() == extension)
            files.push_back(entry.path());
    };
    if (recursive)
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            take(entry);
    else
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            take(entry);
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace krt::test
