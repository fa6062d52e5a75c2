// Any byte string given to the Bmp decoder yields a picture or a DecodeError.

#include "app/codecs/Codec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    krt::DecodeLimits limits;
    limits.maxPixels = 16 * 1024 * 1024; // keep within the fuzzer's memory limit
    krt::TFastBMP image;
    try {
        krt::DecodeBmp(data, size, image, limits);
    } catch (const krt::DecodeError&) {
    }
    return 0;
}
