// TIFF through libtiff, from memory: the first page. 8-bit RGB in strips
// (what cameras and scanners write) straight from its strips; every other
// form libtiff's RGBA interface reads (1 to 16 bits, grey, RGB, palette,
// CMYK, YCbCr; strips or tiles; none, LZW, Deflate, JPEG and the others it
// knows) through it. Read as stored, so that the orientation tag is applied
// like EXIF's. Writing: 8-bit RGB with Deflate.

#include "imageio/codecs/Codec.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace krt {
namespace {

// A file in memory (reading) or a stream (writing) behind libtiff's procs.
struct Source {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
    std::FILE* file = nullptr;
    std::string error; // the first error libtiff reported
};

tmsize_t Read(thandle_t handle, void* buffer, tmsize_t length)
{
    auto* s = static_cast<Source*>(handle);
    const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(std::max<tmsize_t>(length, 0)),
                                                s->size - std::min(s->position, s->size));
    std::memcpy(buffer, s->data + s->position, n);
    s->position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t Write(thandle_t handle, void* buffer, tmsize_t length)
{
    auto* s = static_cast<Source*>(handle);
    return static_cast<tmsize_t>(std::fwrite(buffer, 1, static_cast<std::size_t>(length), s->file));
}

tmsize_t NoWrite(thandle_t, void*, tmsize_t) { return 0; }

toff_t Seek(thandle_t handle, toff_t offset, int whence)
{
    auto* s = static_cast<Source*>(handle);
    if (s->file) {
        if (std::fseek(s->file, static_cast<long>(offset), whence) != 0)
            return static_cast<toff_t>(-1);
        return static_cast<toff_t>(std::ftell(s->file));
    }
    const std::size_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? s->position : s->size;
    s->position = base + static_cast<std::size_t>(offset);
    return static_cast<toff_t>(s->position);
}

int Close(thandle_t) { return 0; }

toff_t Size(thandle_t handle)
{
    auto* s = static_cast<Source*>(handle);
    return static_cast<toff_t>(s->size);
}

int OnError(TIFF*, void* user, const char*, const char* format, va_list args)
{
    auto* s = static_cast<Source*>(user);
    if (s->error.empty()) {
        char message[512];
        std::vsnprintf(message, sizeof message, format, args);
        s->error = message;
    }
    return 1;
}

int OnWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

TiffFile Open(Source& source, const char* mode)
{
    TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
    TIFFOpenOptionsSetErrorHandlerExtR(options, OnError, &source);
    TIFFOpenOptionsSetWarningHandlerExtR(options, OnWarning, &source);
    // No single allocation beyond what the largest picture needs.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options, tmsize_t{1} << 31);
    TiffFile tiff(TIFFClientOpenExt("picture", mode, &source, Read, source.file ? Write : NoWrite, Seek, Close, Size,
                                    nullptr, nullptr, options));
    TIFFOpenOptionsFree(options);
    return tiff;
}

// Whether the strips or tiles the file announces lie inside it and can hold a
// picture of width x height: no compression libtiff reads packs more than
// 4096 bytes of pixels into one, so a file of a few bytes claiming gigabytes
// is refused before anything is allocated.
bool DataCanHold(TIFF* tiff, std::size_t fileSize, std::uint32_t width, std::uint32_t height)
{
    const bool tiled = TIFFIsTiled(tiff);
    std::uint64_t* offsets = nullptr;
    std::uint64_t* counts = nullptr;
    if (!TIFFGetField(tiff, tiled ? TIFFTAG_TILEOFFSETS : TIFFTAG_STRIPOFFSETS, &offsets) ||
        !TIFFGetField(tiff, tiled ? TIFFTAG_TILEBYTECOUNTS : TIFFTAG_STRIPBYTECOUNTS, &counts) || !offsets || !counts)
        return false;
    const std::uint32_t pieces = tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
    std::uint64_t stored = 0;
    for (std::uint32_t i = 0; i < pieces; ++i) {
        if (offsets[i] > fileSize || counts[i] > fileSize - offsets[i])
            return false;
        stored += counts[i];
    }
    std::uint16_t bits = 8, samples = 1;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    const std::uint64_t pixelBytes = (std::uint64_t{width} * height * bits * samples + 7) / 8;
    return pixelBytes <= stored * 4096;
}

DecodeError Damaged(const Source& source)
{
    return DecodeError("its TIFF data is damaged" + (source.error.empty() ? "" : ": " + source.error));
}

// The common case straight from the strips: 8-bit RGB, interleaved, in
// strips (any compression libtiff decodes to such samples).
bool ReadPlainRgb(TIFF* tiff, TFastBMP& image, std::uint32_t width, std::uint32_t height, const Source& source)
{
    std::uint16_t photometric = 0, bits = 0, samples = 0, planar = 0, compression = 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &compression);
    if (photometric != PHOTOMETRIC_RGB || bits != 8 || samples != 3 || planar != PLANARCONFIG_CONTIG ||
        TIFFIsTiled(tiff) || compression == COMPRESSION_OJPEG)
        return false;
    std::uint32_t rowsPerStrip = height;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
    rowsPerStrip = std::clamp<std::uint32_t>(rowsPerStrip, 1, height);
    const std::size_t rowBytes = std::size_t{3} * width;
    std::vector<std::uint8_t> strip(rowBytes * rowsPerStrip);
    image.Allocate(static_cast<int>(width), static_cast<int>(height));
    for (std::uint32_t top = 0; top < height; top += rowsPerStrip) {
        const std::uint32_t rows = std::min(rowsPerStrip, height - top);
        const tmsize_t wanted = static_cast<tmsize_t>(rowBytes * rows);
        if (TIFFReadEncodedStrip(tiff, TIFFComputeStrip(tiff, top, 0), strip.data(), wanted) != wanted ||
            !source.error.empty())
            throw Damaged(source);
        for (std::uint32_t y = 0; y < rows; ++y) {
            const std::uint8_t* s = strip.data() + rowBytes * y;
            std::uint8_t* d = image.RowTable[top + y];
            for (std::uint32_t x = 0; x < width; ++x, s += 3, d += 3) {
                d[0] = s[2];
                d[1] = s[1];
                d[2] = s[0];
            }
        }
    }
    return true;
}

// Everything else through libtiff's RGBA reader, read as stored (the
// orientation is applied afterwards, like EXIF's).
void ReadThroughRgba(TIFF* tiff, TFastBMP& image, std::uint32_t width, std::uint32_t height, const Source& source)
{
    char why[1024] = "";
    TIFFRGBAImage reader;
    if (!TIFFRGBAImageOK(tiff, why) || !TIFFRGBAImageBegin(&reader, tiff, 1, why))
        throw DecodeError(std::string("its kind of TIFF picture cannot be read: ") + why);
    reader.req_orientation = reader.orientation;
    std::vector<std::uint32_t> raster(static_cast<std::size_t>(width) * height);
    const bool read = TIFFRGBAImageGet(&reader, raster.data(), width, height) != 0;
    TIFFRGBAImageEnd(&reader);
    if (!read || !source.error.empty())
        throw Damaged(source);
    image.Allocate(static_cast<int>(width), static_cast<int>(height));
    for (std::uint32_t y = 0; y < height; ++y) {
        const std::uint32_t* s = raster.data() + static_cast<std::size_t>(y) * width;
        std::uint8_t* d = image.RowTable[y];
        for (std::uint32_t x = 0; x < width; ++x, d += 3) {
            // libtiff hands out colours multiplied by their alpha already.
            const std::uint32_t p = s[x], clear = 255 - TIFFGetA(p);
            d[0] = static_cast<std::uint8_t>(std::min<std::uint32_t>(TIFFGetB(p) + clear, 255));
            d[1] = static_cast<std::uint8_t>(std::min<std::uint32_t>(TIFFGetG(p) + clear, 255));
            d[2] = static_cast<std::uint8_t>(std::min<std::uint32_t>(TIFFGetR(p) + clear, 255));
        }
    }
}

} // namespace

void DecodeTiff(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits,
                PictureMetadata* metadata)
{
    Source source;
    source.data = data;
    source.size = size;
    const TiffFile tiff = Open(source, "rm");
    if (!tiff)
        throw DecodeError("it is not a readable TIFF image" + (source.error.empty() ? "" : ": " + source.error));
    std::uint32_t width = 0, height = 0;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
    CheckDecodedSize(width, height, limits);
    if (!DataCanHold(tiff.get(), size, width, height))
        throw DecodeError("its TIFF data is cut short or far too small for a picture of " + std::to_string(width) +
                          " x " + std::to_string(height) + " pixels");
    if (!ReadPlainRgb(tiff.get(), image, width, height, source))
        ReadThroughRgba(tiff.get(), image, width, height, source);
    if (!metadata)
        return;
    std::uint16_t orientation = 1;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &orientation);
    // The orientation is the TIFF's own tag: kept as a small EXIF block, so
    // that it is applied, and written back upright, like a photo's.
    const std::uint8_t block[] = {
        'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, static_cast<std::uint8_t>(orientation),
        0,   0,   0,  0, 0, 0, 0};
    metadata->exif.assign(std::begin(block), std::end(block));
    std::uint32_t length = 0;
    void* profile = nullptr;
    std::uint16_t photometric = 0;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    if (photometric != PHOTOMETRIC_SEPARATED && TIFFGetField(tiff.get(), TIFFTAG_ICCPROFILE, &length, &profile) &&
        profile)
        metadata->icc.assign(static_cast<std::uint8_t*>(profile), static_cast<std::uint8_t*>(profile) + length);
}

void EncodeTiff(const TFastBMP& image, std::FILE* file)
{
    if (image.Empty())
        throw std::runtime_error("an empty image cannot be saved as TIFF");
    Source sink;
    sink.file = file;
    const TiffFile tiff = Open(sink, "w");
    if (!tiff)
        throw std::runtime_error("the TIFF encoder could not start: " + sink.error);
    TIFF* t = tiff.get();
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, static_cast<std::uint32_t>(image.Width));
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, static_cast<std::uint32_t>(image.Height));
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    TIFFSetField(t, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(t, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    TIFFSetField(t, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(t, 0));
    std::vector<std::uint8_t> rgb(static_cast<std::size_t>(3) * image.Width);
    for (int y = 0; y < image.Height; ++y) {
        const std::uint8_t* s = image.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < image.Width; ++x) {
            rgb[3 * x] = s[3 * x + 2];
            rgb[3 * x + 1] = s[3 * x + 1];
            rgb[3 * x + 2] = s[3 * x];
        }
        if (TIFFWriteScanline(t, rgb.data(), static_cast<std::uint32_t>(y), 0) < 0)
            throw std::runtime_error("the TIFF encoder failed: " + sink.error);
    }
    if (!TIFFFlush(t) || !sink.error.empty())
        throw std::runtime_error("the TIFF encoder failed: " + sink.error);
}

} // namespace krt
