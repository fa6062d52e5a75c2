// Any byte string given to a decoder yields a picture or a DecodeError.
// Built once per decoder: KRT_DECODE names the function.

#include "imageio/codecs/Codec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    krt::DecodeLimits limits;
    limits.maxPixels = 16 * 1024 * 1024; // keep within the fuzzer's memory limit
    krt::TFastBMP image;
    try {
        krt::KRT_DECODE(data, size, image, limits);
    } catch (const krt::DecodeError&) {
    }
    return 0;
}
