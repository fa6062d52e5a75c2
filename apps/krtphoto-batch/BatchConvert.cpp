#include "BatchCommands.h"

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
    int quality = 80;
    for (ArgumentCursor cursor(args); cursor.Next();) {
        if (cursor.Current() == "--quality") {
            quality = ParseQuality(cursor.Value());
        } else {
            cursor.Plain(files);
        }
    }
    if (files.size() != 2)
        throw UsageError("convert needs an input and an output file");
    TFastBMP image;
    ReadImageFile(files[0], image);
    WriteImageFile(files[1], image, quality, false);
    return 0;
}

} // namespace

const BatchCommand ConvertCommand{
    "convert",
    "convert IN OUT [--quality N]",
    "Usage: krtphoto-batch convert IN OUT [--quality N]\n"
    "\n"
    "Reads the picture IN and writes it to OUT.\n"
    "\n"
    "IN may be BMP (every variant), JPEG, GIF (its first picture) or PNG; its\n"
    "content decides, whatever its name says. OUT's name decides what is\n"
    "written: .jpg or .jpeg JPEG, .png PNG, .gif is refused (GIF cannot be\n"
    "written), anything else a 24-bit BMP. OUT is replaced only once it is\n"
    "written whole.\n"
    "\n"
    "  --quality N    JPEG quality, 1 to 100 (default 80)\n",
    Convert,
};

} // namespace krt::batch
