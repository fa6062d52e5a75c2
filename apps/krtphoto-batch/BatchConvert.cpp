#include "BatchCommands.h"
#include "BatchFiles.h"

#include "imageio/ImageFiles.h"

#include <cerrno>
#include <cstdlib>

namespace krt::batch {

int ParseInteger(const std::string& option, const std::string& value)
{
    char* end = nullptr;
    errno = 0;
    const long n = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || errno != 0 || n < -2147483647L || n > 2147483647L)
        throw UsageError(option + " needs an integer, not \"" + value + "\"");
    return static_cast<int>(n);
}

int ParseQuality(const std::string& value)
{
    const int quality = ParseInteger("--quality", value);
    if (quality < 1 || quality > 100)
        throw UsageError("--quality must lie between 1 and 100");
    return quality;
}

unsigned ParseColor(const std::string& option, const std::string& text)
{
    const std::string hex = !text.empty() && text[0] == '#' ? text.substr(1) : text;
    if (hex.size() != 6 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        throw UsageError(option + " needs a colour as six hexadecimal digits RRGGBB, not \"" + text + "\"");
    return static_cast<unsigned>(std::stoul(hex, nullptr, 16));
}

namespace {

int Convert(const Arguments& args)
{
    std::vector<std::string> files;
    OutputPlan plan;
    for (ArgumentCursor cursor(args); cursor.Next();)
        if (!ParseOutputOption(cursor, plan))
            cursor.Plain(files);
    return RunOverFiles("convert", files, plan, [](TFastBMP&& picture, int) { return std::move(picture); });
}

} // namespace

const BatchCommand ConvertCommand{
    "convert",
    "convert [options] IN OUT | convert --out-dir DIR [options] IN...",
    "Usage: krtphoto-batch convert [--quality N] IN OUT\n"
    "       krtphoto-batch convert --out-dir DIR [--format EXT] [--overwrite]\n"
    "         [--jobs N] [--quality N] IN...\n"
    "\n"
    "Reads the picture IN and writes it to OUT.\n"
    "\n"
    "IN may be BMP (every variant), JPEG, GIF (its first picture), PNG, WebP,\n"
    "TIFF (its first page), HEIF/HEIC or AVIF; its content decides, whatever its\n"
    "name says. It is read as it should look: turned upright as its EXIF says,\n"
    "its colour profile converted to sRGB, transparent pixels over white. OUT's\n"
    "name decides what is written: .jpg or .jpeg JPEG, .png PNG, .webp WebP,\n"
    ".tif or .tiff TIFF (8-bit RGB, Deflate), .gif, .heic and .avif are refused\n"
    "(they cannot be written), anything else a 24-bit BMP. The EXIF the picture\n"
    "came with (camera, date, place) goes to JPEG, PNG and WebP outputs. OUT is\n"
    "replaced only once it is written whole.\n"
    "\n",
    Convert,
    true,
};

} // namespace krt::batch
