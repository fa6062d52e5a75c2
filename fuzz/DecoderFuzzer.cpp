// Any byte string given to a decoder yields a picture or a DecodeError.
// Built once per decoder: KRT_DECODE names the function; with
// KRT_WITH_METADATA the metadata it finds is applied as a file read does.

#include "imageio/Orientation.h"
#include "imageio/codecs/Codec.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    krt::DecodeLimits limits;
    limits.maxPixels = 16 * 1024 * 1024; // keep within the fuzzer's memory limit
    krt::TFastBMP image;
    try {
#ifdef KRT_WITH_METADATA
        krt::PictureMetadata metadata;
        krt::KRT_DECODE(data, size, image, limits, &metadata);
        krt::ConvertToSrgb(image, metadata.icc);
        krt::ApplyOrientation(image, krt::ExifOrientation(metadata.exif));
        (void)krt::ExifForSaving(metadata.exif, image.Width, image.Height);
#else
        krt::KRT_DECODE(data, size, image, limits);
#endif
    } catch (const krt::DecodeError&) {
    }
    return 0;
}
