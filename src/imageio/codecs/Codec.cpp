#include "imageio/codecs/Codec.h"

namespace krt {

void CheckDecodedSize(std::int64_t width, std::int64_t height, const DecodeLimits& limits)
{
    if (width <= 0 || height <= 0)
        throw DecodeError("the image has no pixels (" + std::to_string(width) + " x " + std::to_string(height) + ")");
    if (width > MaxImageSide || height > MaxImageSide)
        throw DecodeError("the image is " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels; no side may exceed " + std::to_string(MaxImageSide) + " pixels");
    if (width * height > limits.maxPixels)
        throw DecodeError("the image is " + std::to_string(width) + " x " + std::to_string(height) +
                          " pixels, more than the " + std::to_string(limits.maxPixels / 1000000) +
                          " megapixels the editor can hold");
}

} // namespace krt
