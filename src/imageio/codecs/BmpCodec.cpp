// Windows and OS/2 bitmap files: every header version, palettes of 1 to 8 bits,
// 16/24/32-bit pixels with or without bit-field masks, RLE4/RLE8/RLE24 and
// embedded JPEG or PNG data. Writing always produces a plain 24-bit file.

#include "imageio/codecs/Codec.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <system_error>
#include <vector>

namespace krt {
namespace {

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t U32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::int32_t I32(const std::uint8_t* p) { return static_cast<std::int32_t>(U32(p)); }

enum Compression : std::uint32_t {
    BiRgb = 0,
    BiRle8 = 1,
    BiRle4 = 2,
    BiBitfields = 3,
    BiJpeg = 4,
    BiPng = 5,
    BiAlphaBitfields = 6,
};

// One colour channel described by a bit mask, scaled to 0..255 by rounding.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;

    explicit Channel(std::uint32_t m) : mask(m)
    {
        if (m == 0)
            return;
        shift = std::countr_zero(m);
        const int top = 32 - std::countl_zero(m);
        max = (std::uint64_t{1} << (top - shift)) - 1;
    }
    std::uint8_t Value(std::uint32_t pixel) const
    {
        if (max == 0)
            return 0;
        const std::uint64_t v = (pixel & mask) >> shift;
        if (max == 255)
            return static_cast<std::uint8_t>(v);
        return static_cast<std::uint8_t>((2 * v * 255 + max) / (2 * max));
    }
};

struct BmpLayout {
    std::size_t fileStart = 0; // where the "BM" file header starts
    std::uint32_t pixelOffset = 0;
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = BiRgb;
    bool os2v2 = false;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[3] = {0, 0, 0};
    bool hasMasks = false;
    std::size_t paletteStart = 0;
    int paletteEntrySize = 4;
};

// The size, depth and compression of the info header at `h`: the OS/2 1.x
// core header of 12 bytes, or a Windows / OS/2 2.x one.
void ParseInfoHeader(const std::uint8_t* h, BmpLayout& l)
{
    int planes = 0;
    if (l.headerSize == 12) {
        l.width = U16(h + 4);
        l.height = U16(h + 6);
        planes = U16(h + 8);
        l.bitCount = U16(h + 10);
        l.paletteEntrySize = 3;
    } else {
        l.width = I32(h + 4);
        l.height = I32(h + 8);
        planes = U16(h + 12);
        l.bitCount = U16(h + 14);
        l.compression = l.headerSize >= 20 ? U32(h + 16) : BiRgb;
        l.colorsUsed = l.headerSize >= 36 ? U32(h + 32) : 0;
        l.os2v2 = l.headerSize == 16 || l.headerSize == 64;
        if (l.height < 0) {
            l.topDown = true;
            l.height = -l.height;
        }
    }
    if (planes != 1)
        throw DecodeError("its header gives " + std::to_string(planes) + " colour planes instead of 1");
}

BmpLayout ParseHeaders(const std::uint8_t* data, std::size_t size)
{
    BmpLayout l;
    if (size < 2)
        throw DecodeError("the file is empty");
    // An OS/2 bitmap array holds its first image's file header after 14 bytes.
    if (size >= 30 && data[0] == 'B' && data[1] == 'A' && data[14] == 'B' && data[15] == 'M')
        l.fileStart = 14;
    else if (data[0] != 'B' || data[1] != 'M')
        throw DecodeError("it is not a BMP image");
    const std::size_t hdr = l.fileStart + 14;
    if (size < hdr + 4)
        throw DecodeError("the file is truncated inside its header");
    l.pixelOffset = U32(data + l.fileStart + 10);
    l.headerSize = U32(data + hdr);
    switch (l.headerSize) {
    case 12:
    case 16:
    case 40:
    case 52:
    case 56:
    case 64:
    case 108:
    case 124: break;
    default:
        throw DecodeError("its header of " + std::to_string(l.headerSize) + " bytes belongs to no known BMP version");
    }
    if (size < hdr + l.headerSize)
        throw DecodeError("the file is truncated inside its header");
    const std::uint8_t* h = data + hdr;
    ParseInfoHeader(h, l);

    // Colour masks sit inside the larger headers, or after the 40-byte one.
    std::size_t afterHeader = hdr + l.headerSize;
    const bool bitfields = !l.os2v2 && (l.compression == BiBitfields || l.compression == BiAlphaBitfields);
    if (bitfields) {
        if (l.headerSize >= 52) {
            for (int i = 0; i < 3; ++i)
                l.masks[i] = U32(h + 40 + 4 * i);
        } else {
            const std::size_t maskBytes = l.compression == BiAlphaBitfields ? 16 : 12;
            if (size < afterHeader + maskBytes)
                throw DecodeError("the file is truncated inside its colour masks");
            for (int i = 0; i < 3; ++i)
                l.masks[i] = U32(data + afterHeader + 4 * i);
            afterHeader += maskBytes;
        }
        l.hasMasks = true;
    }
    l.paletteStart = afterHeader;
    return l;
}

void CheckLayout(const BmpLayout& l, const DecodeLimits& limits)
{
    CheckDecodedSize(l.width, l.height, limits);
    // An embedded JPEG or PNG image brings its own pixel format.
    if (!l.os2v2 && (l.compression == BiJpeg || l.compression == BiPng))
        return;
    switch (l.bitCount) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    case 64: throw DecodeError("64-bit high dynamic range BMP images are not supported");
    default:
        throw DecodeError("its header gives " + std::to_string(l.bitCount) + " bits per pixel, which no BMP image has");
    }
    const std::uint32_t c = l.compression;
    const int b = l.bitCount;
    bool valid = false;
    if (l.os2v2) {
        if (c == 3)
            throw DecodeError("Huffman-compressed OS/2 bitmaps are not supported");
        valid = c == BiRgb || (c == BiRle8 && b == 8) || (c == BiRle4 && b == 4) || (c == 4 && b == 24);
    } else {
        valid = c == BiRgb || (c == BiRle8 && b == 8) || (c == BiRle4 && b == 4) ||
                ((c == BiBitfields || c == BiAlphaBitfields) && (b == 16 || b == 32)) || c == BiJpeg || c == BiPng;
    }
    if (!valid)
        throw DecodeError("its compression method " + std::to_string(c) + " does not fit " + std::to_string(b) +
                          " bits per pixel");
    if (l.topDown && c != BiRgb && c != BiBitfields && c != BiAlphaBitfields && c != BiRle8 && c != BiRle4)
        throw DecodeError("a compressed BMP image cannot be stored top-down");
}

std::vector<PackedColor> ReadPalette(const std::uint8_t* data, std::size_t size, const BmpLayout& l)
{
    const std::uint32_t full = 1u << l.bitCount;
    std::uint32_t wanted = (l.colorsUsed == 0 || l.colorsUsed > full) ? full : l.colorsUsed;
    std::size_t end = size;
    if (l.pixelOffset > l.paletteStart && l.pixelOffset < size)
        end = l.pixelOffset;
    const std::size_t available = end > l.paletteStart ? (end - l.paletteStart) / l.paletteEntrySize : 0;
    wanted = static_cast<std::uint32_t>(std::min<std::size_t>(wanted, available));
    if (wanted == 0)
        throw DecodeError("it has no colour palette");
    // Indices beyond the palette show black.
    std::vector<PackedColor> palette(full, Black);
    for (std::uint32_t i = 0; i < wanted; ++i) {
        const std::uint8_t* p = data + l.paletteStart + static_cast<std::size_t>(i) * l.paletteEntrySize;
        palette[i] = PackRGB(p[2], p[1], p[0]);
    }
    return palette;
}

// Row y of the image that file row r (counted from the start of the data) holds.
std::size_t ImageRow(const BmpLayout& l, std::int64_t r)
{
    return static_cast<std::size_t>(l.topDown ? r : l.height - 1 - r);
}

void DecodeUncompressed(const std::uint8_t* data, std::size_t size, const BmpLayout& l,
                        const std::vector<PackedColor>& palette, TFastBMP& image)
{
    const std::int64_t bitsPerRow = l.width * l.bitCount;
    const std::int64_t stride = ((bitsPerRow + 31) / 32) * 4;
    const std::int64_t needed = stride * (l.height - 1) + (bitsPerRow + 7) / 8;
    if (l.pixelOffset >= size || static_cast<std::int64_t>(size - l.pixelOffset) < needed)
        throw DecodeError("the file is truncated: its pixels need " + std::to_string(needed) + " bytes");
    const std::uint8_t* pixels = data + l.pixelOffset;
    const int w = static_cast<int>(l.width);

    std::uint32_t defaultMasks[3] = {0x7C00, 0x03E0, 0x001F};
    if (l.bitCount == 32) {
        defaultMasks[0] = 0xFF0000;
        defaultMasks[1] = 0x00FF00;
        defaultMasks[2] = 0x0000FF;
    }
    const std::uint32_t* masks = l.hasMasks ? l.masks : defaultMasks;
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);

    for (std::int64_t r = 0; r < l.height; ++r) {
        const std::uint8_t* src = pixels + r * stride;
        std::uint8_t* dst = image.RowTable[ImageRow(l, r)];
        switch (l.bitCount) {
        case 24: std::memcpy(dst, src, static_cast<std::size_t>(3 * w)); break;
        case 16:
        case 32:
            for (int x = 0; x < w; ++x, dst += 3) {
                const std::uint32_t v = l.bitCount == 16 ? U16(src + 2 * x) : U32(src + 4 * x);
                dst[0] = blue.Value(v);
                dst[1] = green.Value(v);
                dst[2] = red.Value(v);
            }
            break;
        default: {
            const int bits = l.bitCount;
            const int perByte = 8 / bits;
            const std::uint32_t indexMask = (1u << bits) - 1;
            for (int x = 0; x < w; ++x, dst += 3) {
                const std::uint8_t byte = src[x / perByte];
                const int shift = 8 - bits * (x % perByte + 1);
                WritePixel(dst, palette[(byte >> shift) & indexMask]);
            }
        }
        }
    }
}

// Run-length data: pixels the stream skips keep palette colour 0.
// The run-length pixel data of an RLE4, RLE8 or RLE24 bitmap: encoded runs
// of one value, literal runs, and escapes for the end of a line, the end of
// the bitmap and a move right and up. Pixels a run puts outside the picture
// are dropped; data that stops before the last row is done is an error.
class RunLengthReader {
public:
    RunLengthReader(const std::uint8_t* data, std::size_t size, const BmpLayout& layout,
                    const std::vector<PackedColor>& colors, TFastBMP& picture)
        : l(layout), palette(colors), image(picture), p(data + layout.pixelOffset), end(data + size),
          rle24(layout.bitCount == 24), rle4(layout.bitCount == 4)
    {}

    void Read()
    {
        image.Fill(rle24 ? Black : palette[0]);
        while (y < l.height) {
            Need(2);
            const int count = p[0], code = p[1];
            p += 2;
            if (count > 0)
                EncodedRun(count, code);
            else if (code == 0) // end of line
                NextLine();
            else if (code == 1) // end of bitmap
                break;
            else if (code == 2) // move right and up
                Skip();
            else
                Literal(code);
        }
    }

private:
    void Need(std::size_t n) const
    {
        if (static_cast<std::size_t>(end - p) < n)
            throw DecodeError("its compressed pixel data is truncated");
    }

    void Put(PackedColor c)
    {
        if (x < l.width && y < l.height)
            WritePixel(image.RowTable[ImageRow(l, y)] + 3 * x, c);
        ++x;
    }

    // `count` pixels of one value (RLE4: two alternating values); RLE24 keeps
    // the colour's other two bytes after the first.
    void EncodedRun(int count, int value)
    {
        if (rle24) {
            Need(2);
            const PackedColor c = PackRGB(p[1], p[0], value);
            p += 2;
            for (int i = 0; i < count; ++i)
                Put(c);
            return;
        }
        for (int i = 0; i < count; ++i)
            Put(palette[rle4 ? ((i % 2 == 0) ? value >> 4 : value & 15) : value]);
    }

    void NextLine()
    {
        x = 0;
        ++y;
    }

    void Skip()
    {
        Need(2);
        x += p[0];
        y += p[1];
        p += 2;
    }

    // A literal run of `count` pixels, padded to a 16-bit boundary.
    void Literal(int count)
    {
        const std::size_t bytes = rle24 ? 3u * count : rle4 ? (count + 1u) / 2 : static_cast<std::size_t>(count);
        Need(bytes + (bytes & 1));
        for (int i = 0; i < count; ++i) {
            if (rle24)
                Put(PackRGB(p[3 * i + 2], p[3 * i + 1], p[3 * i]));
            else if (rle4)
                Put(palette[(i % 2 == 0) ? p[i / 2] >> 4 : p[i / 2] & 15]);
            else
                Put(palette[p[i]]);
        }
        p += bytes + (bytes & 1);
    }

    const BmpLayout& l;
    const std::vector<PackedColor>& palette;
    TFastBMP& image;
    const std::uint8_t* p;
    const std::uint8_t* end;
    const bool rle24;
    const bool rle4;
    std::int64_t x = 0;
    std::int64_t y = 0; // file row
};

void DecodeRunLength(const std::uint8_t* data, std::size_t size, const BmpLayout& l,
                     const std::vector<PackedColor>& palette, TFastBMP& image)
{
    if (l.pixelOffset >= size)
        throw DecodeError("its pixel data lies beyond the end of the file");
    RunLengthReader(data, size, l, palette, image).Read();
}

} // namespace

void DecodeBmp(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits)
{
    const BmpLayout l = ParseHeaders(data, size);
    CheckLayout(l, limits);

    if (!l.os2v2 && (l.compression == BiJpeg || l.compression == BiPng)) {
        if (l.pixelOffset >= size)
            throw DecodeError("its embedded image lies beyond the end of the file");
        const std::uint8_t* embedded = data + l.pixelOffset;
        const std::size_t embeddedSize = size - l.pixelOffset;
        if (l.compression == BiJpeg)
            DecodeJpeg(embedded, embeddedSize, image, limits);
        else
            DecodePng(embedded, embeddedSize, image, limits);
        return;
    }

    if (l.pixelOffset < l.paletteStart)
        throw DecodeError("its pixel data would start inside its header");
    std::vector<PackedColor> palette;
    if (l.bitCount <= 8)
        palette = ReadPalette(data, size, l);
    image.Allocate(static_cast<int>(l.width), static_cast<int>(l.height));
    const bool runLength = l.compression == BiRle8 || l.compression == BiRle4 || (l.os2v2 && l.compression == 4);
    if (runLength)
        DecodeRunLength(data, size, l, palette, image);
    else
        DecodeUncompressed(data, size, l, palette, image);
}

void EncodeBmp(const TFastBMP& image, std::FILE* file)
{
    std::uint8_t header[54] = {};
    auto put16 = [&](int at, std::uint32_t v) {
        header[at] = static_cast<std::uint8_t>(v);
        header[at + 1] = static_cast<std::uint8_t>(v >> 8);
    };
    auto put32 = [&](int at, std::uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    const std::uint64_t fileSize = 54 + static_cast<std::uint64_t>(image.DataSize);
    header[0] = 'B';
    header[1] = 'M';
    put32(2, fileSize > 0xFFFFFFFFu ? 0 : static_cast<std::uint32_t>(fileSize));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(image.Width));
    put32(22, static_cast<std::uint32_t>(image.Height)); // positive: bottom-up, as stored
    put16(26, 1);
    put16(28, 24);
    put32(34, image.DataSize > 0xFFFFFFFF ? 0 : static_cast<std::uint32_t>(image.DataSize));
    put32(38, 3780); // 96 pixels per inch
    put32(42, 3780);
    if (std::fwrite(header, 1, sizeof header, file) != sizeof header)
        throw std::system_error(errno ? errno : EIO, std::generic_category());
    // The pixel area is already a 24-bit bottom-up BMP pixel area, padding included.
    if (image.DataSize > 0 && std::fwrite(image.PixelData, 1, static_cast<std::size_t>(image.DataSize), file) !=
                                  static_cast<std::size_t>(image.DataSize))
        throw std::system_error(errno ? errno : EIO, std::generic_category());
}

} // namespace krt
