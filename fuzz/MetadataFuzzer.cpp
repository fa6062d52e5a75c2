// Any byte string as an EXIF block or an ICC profile: the EXIF reader and
// writer stay inside the block, and a profile lcms cannot use changes nothing.

#include "imageio/ColorProfile.h"
#include "imageio/Exif.h"
#include "imageio/Orientation.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const krt::ExifBlock exif = krt::ExifFromPayload(data, size);
    const int orientation = krt::ExifOrientation(exif);
    const krt::ExifBlock saved = krt::ExifForSaving(exif, 7, 5);
    if (!saved.empty() && krt::ExifOrientation(saved) != 1 && orientation != 1)
        __builtin_trap(); // an orientation that survives the save
    krt::TFastBMP picture(7, 5);
    krt::ApplyOrientation(picture, orientation);
    const krt::IccProfile profile(data, data + size);
    krt::ConvertToSrgb(picture, profile);
    if (const auto cmyk = krt::CmykToSrgb::Make(profile, size % 2 == 0)) {
        const std::uint8_t samples[8] = {0, 64, 128, 255, 255, 128, 64, 0};
        std::uint8_t bgr[6];
        cmyk->Row(samples, bgr, 2);
    }
    return 0;
}
