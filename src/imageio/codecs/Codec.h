#pragma once

#include "core/FastBMP.h"
#include "imageio/ColorProfile.h"
#include "imageio/Exif.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>

namespace krt {

// What a decoder says is wrong with a file's contents; the caller adds the name.
class DecodeError : public std::runtime_error {
public:
    explicit DecodeError(const std::string& what) : std::runtime_error(what) {}
};

// Bounds a decoder keeps to, so that a small hostile file cannot demand
// gigabytes: no side above MaxImageSide and no more than maxPixels in all.
struct DecodeLimits {
    std::int64_t maxPixels = std::int64_t{1} << 28;
};

// Throws DecodeError unless width x height is a size the editor can hold.
void CheckDecodedSize(std::int64_t width, std::int64_t height, const DecodeLimits& limits);

// What a file holds beside its pixels, as far as its decoder can say.
struct PictureMetadata {
    ExifBlock exif;       // empty when there is none
    IccProfile icc;       // the embedded profile of RGB pixels (a CMYK one the decoder applies itself)
    bool upright = false; // the container turned the picture already (HEIF): its EXIF orientation is done
};

// Told by a decoder, now and then, that the rows above `rows` are final,
// with the picture's embedded RGB profile: the caller may convert them on
// another core while the decoder goes on.
using RowsDecoded = std::function<void(const IccProfile& profile, int rows)>;

// A colour with alpha over white: the editor's pictures have no transparency.
inline std::uint8_t OverWhite(unsigned value, unsigned alpha)
{
    return static_cast<std::uint8_t>((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

// Each decoder reads a whole file held in memory into `image` (pixels with
// alpha composited over white), or throws DecodeError; `image` may be left
// resized but is never handed out then. Those that can fill `metadata`.
void DecodeBmp(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits);
void DecodeJpeg(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits,
                PictureMetadata* metadata = nullptr, const RowsDecoded* rowsDecoded = nullptr);
void DecodeGif(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits);
void DecodePng(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits,
               PictureMetadata* metadata = nullptr);
// WebP: lossy, lossless, with alpha, the first frame of an animation.
void DecodeWebp(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits,
                PictureMetadata* metadata = nullptr);
// TIFF: the first page, 1 to 16 bits, grey, RGB, palette, CMYK, YCbCr;
// strips or tiles; any compression libtiff reads.
void DecodeTiff(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits,
                PictureMetadata* metadata = nullptr);
// HEIF/HEIC and AVIF: the primary image, its rotation, mirror and crop applied.
void DecodeHeif(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits,
                PictureMetadata* metadata = nullptr);

// Encoders write a whole file to an open stream, or throw std::runtime_error
// saying what went wrong; the caller adds the file name. Those given an EXIF
// block store it as it is.
void EncodeBmp(const TFastBMP& image, std::FILE* file);
void EncodeJpeg(const TFastBMP& image, int quality, std::FILE* file, const ExifBlock& exif = {});
// PNG at the default compression, or `Fast` (for copies written often).
enum class PngSpeed { Default, Fast };
void EncodePng(const TFastBMP& image, std::FILE* file, PngSpeed speed = PngSpeed::Default, const ExifBlock& exif = {});
// WebP: lossy at quality 1 ... 99, lossless at 100.
void EncodeWebp(const TFastBMP& image, int quality, std::FILE* file, const ExifBlock& exif = {});
// TIFF: 8-bit RGB, Deflate.
void EncodeTiff(const TFastBMP& image, std::FILE* file);

} // namespace krt
