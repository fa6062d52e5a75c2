#include "imageio/ImageFiles.h"

#include "core/AtomicFile.h"
#include "core/FileReading.h"
#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "imageio/BandConversion.h"
#include "imageio/Orientation.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

namespace krt {
namespace {

constexpr OwnMessage CannotOpen{"Cannot open {1}: {2}", "Не удаётся открыть {1}: {2}"};
constexpr OwnMessage Unsupported{
    "Unsupported file type: {1} (the editor opens BMP, JPEG, GIF, PNG, WebP, TIFF, HEIF and AVIF pictures).",
    "Неподдерживаемый тип файла: {1} (редактор открывает изображения BMP, JPEG, GIF, PNG, WebP, TIFF, HEIF и AVIF)."};
constexpr OwnMessage NoSaving{
    "Cannot save {1}: {2} pictures can be opened but not saved. Choose a name ending in .bmp, .jpg, .png, .webp or "
    ".tif.",
    "Не удаётся сохранить {1}: изображения {2} можно открывать, но не сохранять. Выберите имя с окончанием .bmp, "
    ".jpg, .png, .webp или .tif."};
constexpr OwnMessage BadQuality{"Cannot save {1}: the quality must lie between 1 and 100.",
                                "Не удаётся сохранить {1}: качество должно быть от 1 до 100."};
constexpr OwnMessage CannotSave{"Cannot save {1}: {2}.", "Не удаётся сохранить {1}: {2}."};

} // namespace
namespace {

std::string UpperExtension(const std::string& path)
{
    const std::string name = std::filesystem::path(path).filename().string();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return {};
    std::string ext = name.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::toupper(c); });
    return ext;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::optional<ImageFormat> FormatFromSignature(const std::uint8_t* data, std::size_t size)
{
    if (size >= 2 && data[0] == 'B' && (data[1] == 'M' || data[1] == 'A'))
        return ImageFormat::Bmp;
    if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF)
        return ImageFormat::Jpeg;
    if (size >= 6 && std::memcmp(data, "GIF8", 4) == 0)
        return ImageFormat::Gif;
    if (size >= 8 && std::memcmp(data, "\x89PNG\r\n\x1a\n", 8) == 0)
        return ImageFormat::Png;
    if (size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WEBP", 4) == 0)
        return ImageFormat::Webp;
    if (size >= 4 && (std::memcmp(data, "II*\0", 4) == 0 || std::memcmp(data, "MM\0*", 4) == 0 ||
                      std::memcmp(data, "II+\0", 4) == 0 || std::memcmp(data, "MM\0+", 4) == 0))
        return ImageFormat::Tiff;
    if (size >= 12 && std::memcmp(data + 4, "ftyp", 4) == 0) {
        // An ISO media file whose major brand is a picture's.
        static const char* const brands[] = {"heic", "heix", "heim", "heis", "hevc",
                                             "hevx", "mif1", "msf1", "avif", "avis"};
        for (const char* brand : brands)
            if (std::memcmp(data + 8, brand, 4) == 0)
                return ImageFormat::Heif;
    }
    return std::nullopt;
}

// Far beyond the largest picture the editor holds, even as an uncompressed bitmap.
constexpr std::uint64_t MaxImageFileBytes = std::uint64_t{1} << 31;

} // namespace

namespace {

// The names each format goes by; `readOnly` names choose a decoder but not
// an encoder (a file saved under them is a bitmap, as under any other name).
struct Extension {
    const char* upper;
    ImageFormat format;
    bool readOnly;
};
constexpr Extension Extensions[] = {
    {".BMP", ImageFormat::Bmp, false},   {".DIB", ImageFormat::Bmp, true},    {".JPG", ImageFormat::Jpeg, false},
    {".JPEG", ImageFormat::Jpeg, false}, {".JPE", ImageFormat::Jpeg, true},   {".GIF", ImageFormat::Gif, false},
    {".PNG", ImageFormat::Png, false},   {".WEBP", ImageFormat::Webp, false}, {".TIF", ImageFormat::Tiff, false},
    {".TIFF", ImageFormat::Tiff, false}, {".HEIC", ImageFormat::Heif, false}, {".HEIF", ImageFormat::Heif, false},
    {".HIF", ImageFormat::Heif, false},  {".AVIF", ImageFormat::Heif, false},
};

const Extension* FindExtension(const std::string& path)
{
    const std::string ext = UpperExtension(path);
    for (const Extension& e : Extensions)
        if (ext == e.upper)
            return &e;
    return nullptr;
}

} // namespace

std::optional<ImageFormat> FormatForReading(const std::string& path)
{
    const Extension* e = FindExtension(path);
    return e ? std::optional<ImageFormat>(e->format) : std::nullopt;
}

ImageFormat FormatForWriting(const std::string& path)
{
    const Extension* e = FindExtension(path);
    return e && !e->readOnly ? e->format : ImageFormat::Bmp;
}

bool CanWrite(ImageFormat format) { return format != ImageFormat::Gif && format != ImageFormat::Heif; }

const char* const ReadableTypes = "BMP, JPEG, GIF, PNG, WebP, TIFF, HEIF and AVIF";

void DecodeImage(const std::uint8_t* data, std::size_t size, ImageFormat fallback, TFastBMP& image,
                 const DecodeLimits& limits, PictureMetadata* metadata, const RowsDecoded* rowsDecoded)
{
    switch (FormatFromSignature(data, size).value_or(fallback)) {
    case ImageFormat::Bmp: DecodeBmp(data, size, image, limits); break;
    case ImageFormat::Jpeg: DecodeJpeg(data, size, image, limits, metadata, rowsDecoded); break;
    case ImageFormat::Gif: DecodeGif(data, size, image, limits); break;
    case ImageFormat::Png: DecodePng(data, size, image, limits, metadata); break;
    case ImageFormat::Webp: DecodeWebp(data, size, image, limits, metadata); break;
    case ImageFormat::Tiff: DecodeTiff(data, size, image, limits, metadata); break;
    case ImageFormat::Heif: DecodeHeif(data, size, image, limits, metadata); break;
    }
}

void ReadImageFile(const std::string& path, TFastBMP& image, const DecodeLimits& limits, ExifBlock* exif)
{
    FileBytes file;
    try {
        file = ReadRegularFile(path, MaxImageFileBytes);
    } catch (const std::runtime_error& e) {
        throw KrtError(Say(CannotOpen, {Quoted(path), e.what() + std::string(".")}));
    }
    // The content decides; the name only when the content has no signature.
    std::optional<ImageFormat> format = FormatFromSignature(file.data.Data(), file.size);
    if (!format)
        format = FormatForReading(path);
    if (!format)
        throw KrtError(Say(Unsupported, {Quoted(path)}));

    // Decode into a buffer of our own, so a failure leaves the caller's image alone.
    TFastBMP decoded;
    PictureMetadata metadata;
    try {
        // As it should look: in sRGB (converted while the decoder goes on
        // where it can), and upright.
        BandConversion bands(decoded);
        const RowsDecoded ready = [&bands](const IccProfile& profile, int rows) { bands.RowsDecoded(profile, rows); };
        DecodeImage(file.data.Data(), file.size, *format, decoded, limits, &metadata, &ready);
        if (!bands.Finish() && !metadata.icc.empty())
            ConvertToSrgb(decoded, metadata.icc);
        if (!metadata.upright)
            ApplyOrientation(decoded, ExifOrientation(metadata.exif));
    } catch (const DecodeError& e) {
        throw KrtError(Say(CannotOpen, {Quoted(path), e.what() + std::string(".")}));
    } catch (const KrtError& e) {
        throw KrtError(Say(CannotOpen, {Quoted(path), e.what()}));
    }
    image = std::move(decoded);
    if (exif)
        *exif = std::move(metadata.exif);
}

void WriteImageFile(const std::string& path, const TFastBMP& image, const WriteOptions& options)
{
    const ImageFormat format = FormatForWriting(path);
    if (!CanWrite(format))
        throw KrtError(Say(NoSaving, {Quoted(path), format == ImageFormat::Gif ? "GIF" : "HEIF and AVIF"}));
    const int quality = format == ImageFormat::Webp ? options.webpQuality : options.jpegQuality;
    if ((format == ImageFormat::Jpeg || format == ImageFormat::Webp) && (quality < 1 || quality > 100))
        throw KrtError(Say(BadQuality, {Quoted(path)}));
    const ExifBlock exif = options.exif.empty() ? ExifBlock{} : ExifForSaving(options.exif, image.Width, image.Height);
    try {
        AtomicFile file(path);
        switch (format) {
        case ImageFormat::Jpeg: EncodeJpeg(image, quality, file.Stream(), exif); break;
        case ImageFormat::Png: EncodePng(image, file.Stream(), PngSpeed::Default, exif); break;
        case ImageFormat::Webp: EncodeWebp(image, quality, file.Stream(), exif); break;
        case ImageFormat::Tiff: EncodeTiff(image, file.Stream()); break;
        default: EncodeBmp(image, file.Stream()); break;
        }
        file.Commit(options.durable);
    } catch (const std::exception& e) {
        throw KrtError(Say(CannotSave, {Quoted(path), e.what()}));
    }
}

void WriteImageFile(const std::string& path, const TFastBMP& image, int jpegQuality, bool durable)
{
    WriteOptions options;
    options.jpegQuality = jpegQuality;
    options.durable = durable;
    WriteImageFile(path, image, options);
}

} // namespace krt
