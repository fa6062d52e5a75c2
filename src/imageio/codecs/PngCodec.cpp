// PNG through libpng: any bit depth and colour type reads as 8-bit
// blue-green-red, transparent pixels composed over white; saving writes 8-bit RGB.
//
// libpng reports errors through longjmp: the functions that set the jump target
// hold only plain data.

#include "imageio/codecs/Codec.h"

#include <csetjmp>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <png.h>

namespace krt {
namespace {

struct ReadContext {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
    char message[200];
};

void OnError(png_structp png, png_const_charp message)
{
    auto* ctx = static_cast<ReadContext*>(png_get_error_ptr(png));
    if (ctx) {
        std::strncpy(ctx->message, message, sizeof ctx->message - 1);
        ctx->message[sizeof ctx->message - 1] = '\0';
    }
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

// The chunks of a PNG file held in memory, walked before libpng sees them:
// libpng allocates a chunk's announced length before reading it, so a chunk
// longer than the bytes left is refused here. Returns how many bytes of
// compressed image data (IDAT) the file holds, or a message.
std::optional<std::uint64_t> CompressedImageBytes(const std::uint8_t* data, std::size_t size, std::string& problem)
{
    std::uint64_t idat = 0;
    std::size_t at = 8;
    while (at + 12 <= size) {
        const std::uint32_t length = png_get_uint_32(data + at);
        if (length > 0x7FFFFFFFu || length > size - at - 12) {
            problem = "a chunk announces more bytes than the file holds";
            return std::nullopt;
        }
        if (std::memcmp(data + at + 4, "IDAT", 4) == 0)
            idat += length;
        if (std::memcmp(data + at + 4, "IEND", 4) == 0)
            break;
        at += 12 + length;
    }
    return idat;
}

// Deflate gives at most about 1032 bytes for one: a picture whose rows need
// more than that of the compressed data cannot be in the file.
bool DataCanHold(std::uint64_t compressed, png_uint_32 width, png_uint_32 height, int bitsPerPixel)
{
    const std::uint64_t rowBytes = (std::uint64_t{width} * static_cast<std::uint64_t>(bitsPerPixel) + 7) / 8 + 1;
    return rowBytes * height <= compressed * 1032 + 1024;
}

// Text, profiles and other ancillary chunks the editor does not use are skipped
// unread (a compressed one could cost far more than its size).
// Chunks the editor has no use for (the colour profile and EXIF it reads).
const png_byte IgnoredChunks[] = "tEXt\0zTXt\0iTXt\0sPLT\0pCAL\0sCAL\0hIST\0tIME\0";

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length)
{
    auto* ctx = static_cast<ReadContext*>(png_get_io_ptr(png));
    if (ctx->size - ctx->position < length)
        png_error(png, "the file is truncated");
    std::memcpy(out, ctx->data + ctx->position, length);
    ctx->position += length;
}

struct Decoder {
    ReadContext ctx{};
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    bool alpha = false;
    int bitsPerPixel = 0;

    ~Decoder() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }

    bool ReadHeader(const std::uint8_t* data, std::size_t size)
    {
        ctx.data = data;
        ctx.size = size;
        if (size < 8 || png_sig_cmp(data, 0, 8) != 0) {
            std::strcpy(ctx.message, "it is not a PNG image");
            return false;
        }
        png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &ctx, OnError, OnWarning);
        if (!png)
            return false;
        info = png_create_info_struct(png);
        if (!info)
            return false;
        if (setjmp(png_jmpbuf(png)))
            return false;
        png_set_read_fn(png, &ctx, ReadFromMemory);
        png_set_user_limits(png, MaxImageSide, MaxImageSide);
        png_set_chunk_malloc_max(png, 64u * 1024 * 1024);
        png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, IgnoredChunks,
                                    static_cast<int>(sizeof IgnoredChunks / 5));
        png_read_info(png, info);
        width = png_get_image_width(png, info);
        height = png_get_image_height(png, info);
        bitsPerPixel = png_get_bit_depth(png, info) * png_get_channels(png, info);

        // Every colour type and depth becomes 8-bit blue-green-red (plus alpha).
        png_set_strip_16(png);
        png_set_packing(png);
        png_set_palette_to_rgb(png);
        png_set_expand_gray_1_2_4_to_8(png);
        if (png_get_valid(png, info, PNG_INFO_tRNS))
            png_set_tRNS_to_alpha(png);
        png_set_gray_to_rgb(png);
        png_set_bgr(png);
        png_set_interlace_handling(png);
        png_read_update_info(png, info);
        alpha = png_get_channels(png, info) == 4;
        return true;
    }

    bool ReadRows(png_bytep* rows)
    {
        if (setjmp(png_jmpbuf(png)))
            return false;
        png_read_image(png, rows);
        // EXIF may come after the pixels: read into the same info.
        png_read_end(png, info);
        return true;
    }

    void ReadMetadata(PictureMetadata& metadata) const
    {
        png_uint_32 count = 0;
        png_bytep exif = nullptr;
        if (png_get_eXIf_1(png, info, &count, &exif) && exif)
            metadata.exif = ExifFromPayload(exif, count);
        png_charp name = nullptr;
        int compression = 0;
        png_bytep profile = nullptr;
        png_uint_32 length = 0;
        if (png_get_iCCP(png, info, &name, &compression, &profile, &length) && profile)
            metadata.icc.assign(profile, profile + length);
    }
};

void OnWriteError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

bool WriteRows(png_structp png, png_infop info, const TFastBMP& image, std::FILE* file, PngSpeed speed,
               const ExifBlock& exif)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_init_io(png, file);
    if (speed == PngSpeed::Fast) {
        // The quickest zlib level, and rows filtered by their left neighbour
        // only: a few times faster than the default, still lossless.
        png_set_compression_level(png, 1);
        png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    }
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.Width), static_cast<png_uint_32>(image.Height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!exif.empty())
        png_set_eXIf_1(png, info, static_cast<png_uint_32>(exif.size()), const_cast<png_bytep>(exif.data()));
    png_write_info(png, info);
    png_set_bgr(png);
    for (int y = 0; y < image.Height; ++y)
        png_write_row(png, image.RowTable[static_cast<std::size_t>(y)]);
    png_write_end(png, info);
    return true;
}

} // namespace

void DecodePng(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits,
               PictureMetadata* metadata)
{
    std::string problem;
    const std::optional<std::uint64_t> compressed =
        size >= 8 && png_sig_cmp(data, 0, 8) == 0 ? CompressedImageBytes(data, size, problem) : std::uint64_t{0};
    if (!compressed)
        throw DecodeError("its PNG data is damaged: " + problem);
    Decoder decoder;
    if (!decoder.ReadHeader(data, size))
        throw DecodeError(std::string("it is not a readable PNG image: ") + decoder.ctx.message);
    CheckDecodedSize(decoder.width, decoder.height, limits);
    if (!DataCanHold(*compressed, decoder.width, decoder.height, decoder.bitsPerPixel))
        throw DecodeError("its PNG data is far too short for a picture of " + std::to_string(decoder.width) + " x " +
                          std::to_string(decoder.height) + " pixels");
    image.Allocate(static_cast<int>(decoder.width), static_cast<int>(decoder.height));

    std::vector<std::uint8_t> rgba;
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.Height));
    if (decoder.alpha) {
        rgba.resize(static_cast<std::size_t>(image.Width) * 4 * image.Height);
        for (int y = 0; y < image.Height; ++y)
            rows[static_cast<std::size_t>(y)] = rgba.data() + static_cast<std::size_t>(y) * image.Width * 4;
    } else {
        for (int y = 0; y < image.Height; ++y)
            rows[static_cast<std::size_t>(y)] = image.RowTable[static_cast<std::size_t>(y)];
    }
    if (!decoder.ReadRows(rows.data()))
        throw DecodeError(std::string("its PNG data is damaged: ") + decoder.ctx.message);
    if (metadata)
        decoder.ReadMetadata(*metadata);
    if (!decoder.alpha)
        return;
    // Compose over white: the editor's images have no transparency.
    for (int y = 0; y < image.Height; ++y) {
        const std::uint8_t* s = rows[static_cast<std::size_t>(y)];
        std::uint8_t* d = image.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < image.Width; ++x, s += 4, d += 3) {
            for (int c = 0; c < 3; ++c)
                d[c] = OverWhite(s[c], s[3]);
        }
    }
}

void EncodePng(const TFastBMP& image, std::FILE* file, PngSpeed speed, const ExifBlock& exif)
{
    if (image.Empty())
        throw std::runtime_error("an empty image cannot be saved as PNG");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnWriteError, OnWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool written = png && info && WriteRows(png, info, image, file, speed, exif);
    png_destroy_write_struct(&png, &info);
    if (!written)
        throw std::runtime_error("the PNG encoder failed");
}

} // namespace krt
