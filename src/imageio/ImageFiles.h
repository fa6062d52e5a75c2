#pragma once

#include "core/FastBMP.h"
#include "imageio/codecs/Codec.h"

#include <optional>
#include <string>

namespace krt {

enum class ImageFormat { Bmp, Jpeg, Gif, Png };

// The decoder a file name asks for: .bmp/.dib, .jpg/.jpeg/.jpe, .gif, .png
// (any case); nothing for other names.
std::optional<ImageFormat> FormatForReading(const std::string& path);
// The encoder a file name asks for, by its upper-cased extension: ".JPG" and
// ".JPEG" JPEG, ".PNG" PNG, ".GIF" GIF (which cannot be written), all else BMP.
ImageFormat FormatForWriting(const std::string& path);

// Reads an image file into `image`. Its format is recognised from its content
// (the name decides only for content without a signature); a folder, a named
// pipe or a device is refused without waiting on it. On any failure throws
// KrtError naming the file and what is wrong, and `image` is left exactly as
// it was.
void ReadImageFile(const std::string& path, TFastBMP& image, const DecodeLimits& limits = {});

// Writes `image` in the format its name asks for (JPEG at `jpegQuality`, 1 to
// 100). The data goes to a temporary file beside the target, which then
// replaces it, so a failed save never destroys the old file; `durable` also
// waits until the data is on the disk before the rename. Throws KrtError.
void WriteImageFile(const std::string& path, const TFastBMP& image, int jpegQuality, bool durable = true);

// Decodes a whole file held in memory; the format is recognised from the
// data's signature when it has one, else `fallback` is used.
void DecodeImage(const std::uint8_t* data, std::size_t size, ImageFormat fallback, TFastBMP& image,
                 const DecodeLimits& limits = {});

} // namespace krt
