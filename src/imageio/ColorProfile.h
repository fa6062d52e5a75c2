#pragma once

#include "core/FastBMP.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace krt {

using IccProfile = std::vector<std::uint8_t>;

// Colour management through lcms2, to sRGB with the relative colorimetric
// intent and black-point compensation (what a photo viewer shows: in-gamut
// colours stay exact, the profile's white becomes sRGB white). A profile that
// lcms cannot read, or that does not describe the pixels at hand, is ignored:
// the picture is then taken as sRGB, never refused.

// Converts the picture (blue-green-red) from an embedded RGB profile to sRGB,
// rows over all cores. False, and the pixels untouched, when the profile is
// unusable, is not an RGB profile, or changes nothing (an sRGB profile).
bool ConvertToSrgb(TFastBMP& picture, const IccProfile& profile);

// The same conversion prepared once and applied to rows as they come (a
// decoder's bands, converted on another core while it decodes the next).
class SrgbConverter {
public:
    // Nothing when ConvertToSrgb would change nothing.
    static std::unique_ptr<SrgbConverter> Make(const IccProfile& profile);
    ~SrgbConverter();
    // Rows from ... to - 1 of the picture, in place; safe from several threads
    // on different rows.
    void Rows(TFastBMP& picture, int from, int to) const;

private:
    struct Parts;
    explicit SrgbConverter(std::unique_ptr<Parts> made);
    std::unique_ptr<Parts> parts;
};

// The chromaticities of an RGB space, as video and AVIF/HEIF files name it
// (CIE xy of its primaries and white), and its tone curve.
struct Chromaticities {
    float redX, redY, greenX, greenY, blueX, blueY, whiteX, whiteY;
};
enum class ToneCurve { Srgb, Gamma22, Linear };
// An ICC profile of that space (empty when lcms cannot make one), for
// ConvertToSrgb.
IccProfile ProfileOf(const Chromaticities& space, ToneCurve curve);

// CMYK samples through a CMYK profile, row by row, for the decoders of CMYK
// pictures. `inverted`: 0 is full ink (as Adobe writes CMYK JPEG).
class CmykToSrgb {
public:
    // Nothing when the profile is unusable or not a CMYK profile.
    static std::unique_ptr<CmykToSrgb> Make(const IccProfile& profile, bool inverted);
    ~CmykToSrgb();
    // `count` pixels of 4 bytes into blue-green-red.
    void Row(const std::uint8_t* cmyk, std::uint8_t* bgr, int count) const;

private:
    explicit CmykToSrgb(void* made) : transform(made) {}
    void* transform;
};

} // namespace krt
