#include "BatchCommands.h"

#include "app/ImageFiles.h"

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

} // namespace krt::batch
