#include "imageio/ImageFiles.h"

#include "core/AtomicFile.h"
#include "core/FileReading.h"
#include "core/KrtError.h"
#include "core/OwnMessages.h"

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
    "Unsupported file type: {1} (the editor opens BMP, JPEG, GIF and PNG pictures).",
    "Неподдерживаемый тип файла: {1} (редактор открывает изображения BMP, JPEG, GIF и PNG)."};
constexpr OwnMessage NoGifSaving{
    "Cannot save {1}: GIF files can be opened but not saved. Choose a name ending in .bmp, .jpg or .png.",
    "Не удаётся сохранить {1}: файлы GIF можно открывать, но не сохранять. Выберите имя с окончанием .bmp, .jpg "
    "или .png."};
constexpr OwnMessage BadQuality{"Cannot save {1}: the JPEG quality must lie between 1 and 100.",
                                "Не удаётся сохранить {1}: качество JPEG должно быть от 1 до 100."};
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
    return std::nullopt;
}

// Far beyond the largest picture the editor holds, even as an uncompressed bitmap.
constexpr std::uint64_t MaxImageFileBytes = std::uint64_t{1} << 31;

} // namespace

std::optional<ImageFormat> FormatForReading(const std::string& path)
{
    const std::string ext = UpperExtension(path);
    if (ext == ".BMP" || ext == ".DIB")
        return ImageFormat::Bmp;
    if (ext == ".JPG" || ext == ".JPEG" || ext == ".JPE")
        return ImageFormat::Jpeg;
    if (ext == ".GIF")
        return ImageFormat::Gif;
    if (ext == ".PNG")
        return ImageFormat::Png;
    return std::nullopt;
}

ImageFormat FormatForWriting(const std::string& path)
{
    const std::string ext = UpperExtension(path);
    if (ext == ".JPG" || ext == ".JPEG")
        return ImageFormat::Jpeg;
    if (ext == ".PNG")
        return ImageFormat::Png;
    if (ext == ".GIF")
        return ImageFormat::Gif;
    return ImageFormat::Bmp;
}

void DecodeImage(const std::uint8_t* data, std::size_t size, ImageFormat fallback, TFastBMP& image,
                 const DecodeLimits& limits)
{
    switch (FormatFromSignature(data, size).value_or(fallback)) {
    case ImageFormat::Bmp: DecodeBmp(data, size, image, limits); break;
    case ImageFormat::Jpeg: DecodeJpeg(data, size, image, limits); break;
    case ImageFormat::Gif: DecodeGif(data, size, image, limits); break;
    case ImageFormat::Png: DecodePng(data, size, image, limits); break;
    }
}

void ReadImageFile(const std::string& path, TFastBMP& image, const DecodeLimits& limits)
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
    try {
        DecodeImage(file.data.Data(), file.size, *format, decoded, limits);
    } catch (const DecodeError& e) {
        throw KrtError(Say(CannotOpen, {Quoted(path), e.what() + std::string(".")}));
    } catch (const KrtError& e) {
        throw KrtError(Say(CannotOpen, {Quoted(path), e.what()}));
    }
    image = std::move(decoded);
}

void WriteImageFile(const std::string& path, const TFastBMP& image, int jpegQuality, bool durable)
{
    const ImageFormat format = FormatForWriting(path);
    if (format == ImageFormat::Gif)
        throw KrtError(Say(NoGifSaving, {Quoted(path)}));
    if (format == ImageFormat::Jpeg && (jpegQuality < 1 || jpegQuality > 100))
        throw KrtError(Say(BadQuality, {Quoted(path)}));

    try {
        AtomicFile file(path);
        switch (format) {
        case ImageFormat::Jpeg: EncodeJpeg(image, jpegQuality, file.Stream()); break;
        case ImageFormat::Png: EncodePng(image, file.Stream()); break;
        default: EncodeBmp(image, file.Stream()); break;
        }
        file.Commit(durable);
    } catch (const std::exception& e) {
        throw KrtError(Say(CannotSave, {Quoted(path), e.what()}));
    }
}

} // namespace krt
