#pragma once

#include "core/FastBMP.h"
#include "imageio/codecs/Codec.h"

#include <optional>
#include <string>

namespace krt {

enum class ImageFormat { Bmp, Jpeg, Gif, Png, Webp, Tiff, Heif };

// The decoder a file name asks for: .bmp/.dib, .jpg/.jpeg/.jpe, .gif, .png,
// .webp, .tif/.tiff, .heic/.heif/.hif/.avif (any case); nothing for others.
std::optional<ImageFormat> FormatForReading(const std::string& path);
// The encoder a file name asks for, by its upper-cased extension: ".JPG" and
// ".JPEG" JPEG, ".PNG" PNG, ".WEBP" WebP, ".TIF" and ".TIFF" TIFF, ".GIF" GIF
// and the HEIF names (which cannot be written), all else BMP.
ImageFormat FormatForWriting(const std::string& path);
// Whether pictures of the format can be written (GIF and HEIF/AVIF cannot).
bool CanWrite(ImageFormat format);

// The picture types the editor reads, for messages and help.
extern const char* const ReadableTypes; // "BMP, JPEG, GIF, PNG, WebP, TIFF, HEIF and AVIF"

// Reads an image file into `image`. Its format is recognised from its content
// (the name decides only for content without a signature); a folder, a named
// pipe or a device is refused without waiting on it. The picture comes out as
// it should look: its embedded colour profile converted to sRGB, turned
// upright as its EXIF orientation says, transparency over white. `exif`, when
// given, receives the file's EXIF block (empty without one). On any failure
// throws KrtError naming the file and what is wrong, and `image` is left
// exactly as it was.
void ReadImageFile(const std::string& path, TFastBMP& image, const DecodeLimits& limits = {},
                   ExifBlock* exif = nullptr);

// How a picture is written.
struct WriteOptions {
    int jpegQuality = 80; // 1 ... 100
    int webpQuality = 80; // 1 ... 100 (100: lossless)
    // The EXIF the picture came with, stored by JPEG, PNG and WebP with
    // orientation 1, the picture's own size and no thumbnail.
    ExifBlock exif;
    // Wait until the data is on the disk before the rename.
    bool durable = true;
};

// Writes `image` in the format its name asks for. The data goes to a
// temporary file beside the target, which then replaces it, so a failed save
// never destroys the old file. Throws KrtError.
void WriteImageFile(const std::string& path, const TFastBMP& image, const WriteOptions& options);
// The same, JPEG at `jpegQuality`, without EXIF.
void WriteImageFile(const std::string& path, const TFastBMP& image, int jpegQuality, bool durable = true);

// Decodes a whole file held in memory; the format is recognised from the
// data's signature when it has one, else `fallback` is used.
void DecodeImage(const std::uint8_t* data, std::size_t size, ImageFormat fallback, TFastBMP& image,
                 const DecodeLimits& limits = {}, PictureMetadata* metadata = nullptr,
                 const RowsDecoded* rowsDecoded = nullptr);

} // namespace krt
