#include "imageio/Exif.h"

#include <cstring>
#include <optional>

namespace krt {
namespace {

constexpr std::uint16_t OrientationTag = 0x0112;
constexpr std::uint16_t ExifIfdTag = 0x8769;
constexpr std::uint16_t PixelXTag = 0xA002, PixelYTag = 0xA003;
constexpr std::uint16_t ThumbnailOffsetTag = 0x0201, ThumbnailLengthTag = 0x0202;
constexpr std::uint16_t ShortType = 3, LongType = 4;

// The block's byte order and bounds; every access checks them.
class TiffBlock {
public:
    explicit TiffBlock(ExifBlock& b) : block(b)
    {
        if (block.size() < 8)
            return;
        if (block[0] == 'I' && block[1] == 'I')
            little = true;
        else if (!(block[0] == 'M' && block[1] == 'M'))
            return;
        valid = U16(2) == 42;
    }

    bool Valid() const { return valid; }
    bool Has(std::size_t at, std::size_t bytes) const { return at <= block.size() && bytes <= block.size() - at; }

    std::uint32_t U16(std::size_t at) const
    {
        if (!Has(at, 2))
            return 0;
        return little ? block[at] | block[at + 1] << 8 : block[at] << 8 | block[at + 1];
    }
    std::uint32_t U32(std::size_t at) const
    {
        if (!Has(at, 4))
            return 0;
        const std::uint32_t a = U16(at), b = U16(at + 2);
        return little ? a | b << 16 : a << 16 | b;
    }
    void Put16(std::size_t at, std::uint32_t v)
    {
        if (!Has(at, 2))
            return;
        block[at + (little ? 0 : 1)] = static_cast<std::uint8_t>(v);
        block[at + (little ? 1 : 0)] = static_cast<std::uint8_t>(v >> 8);
    }
    void Put32(std::size_t at, std::uint32_t v)
    {
        Put16(at + (little ? 0 : 2), v & 0xFFFF);
        Put16(at + (little ? 2 : 0), v >> 16);
    }

    // The offset of an IFD's entry with `tag`, or nothing.
    std::optional<std::size_t> Entry(std::size_t ifd, std::uint16_t tag) const
    {
        const std::uint32_t count = U16(ifd);
        if (!Has(ifd + 2, std::size_t{count} * 12))
            return std::nullopt;
        for (std::uint32_t i = 0; i < count; ++i)
            if (U16(ifd + 2 + 12 * i) == tag)
                return ifd + 2 + 12 * i;
        return std::nullopt;
    }
    // Where the IFD after `ifd` is named (the offset field after its entries).
    std::optional<std::size_t> NextField(std::size_t ifd) const
    {
        const std::size_t at = ifd + 2 + std::size_t{U16(ifd)} * 12;
        return Has(ifd, 2) && Has(at, 4) ? std::optional<std::size_t>(at) : std::nullopt;
    }
    // A one-value SHORT or LONG entry's value.
    std::optional<std::uint32_t> Number(std::size_t entry) const
    {
        const std::uint32_t type = U16(entry + 2), count = U32(entry + 4);
        if (count != 1 || (type != ShortType && type != LongType))
            return std::nullopt;
        return type == ShortType ? U16(entry + 8) : U32(entry + 8);
    }
    void SetNumber(std::size_t entry, std::uint32_t value)
    {
        if (U16(entry + 2) == ShortType && value <= 0xFFFF)
            Put16(entry + 8, value);
        else if (U16(entry + 2) == LongType)
            Put32(entry + 8, value);
    }

private:
    ExifBlock& block;
    bool little = false;
    bool valid = false;
};

} // namespace

ExifBlock ExifFromPayload(const std::uint8_t* data, std::size_t size)
{
    if (size >= 6 && std::memcmp(data, "Exif\0\0", 6) == 0) {
        data += 6;
        size -= 6;
    }
    ExifBlock block(data, data + size);
    return TiffBlock(block).Valid() ? block : ExifBlock{};
}

int ExifOrientation(const ExifBlock& exif)
{
    ExifBlock copy = exif;
    const TiffBlock tiff(copy);
    if (!tiff.Valid())
        return 1;
    const auto entry = tiff.Entry(tiff.U32(4), OrientationTag);
    const auto value = entry ? tiff.Number(*entry) : std::nullopt;
    return value && *value >= 1 && *value <= 8 ? static_cast<int>(*value) : 1;
}

ExifBlock ExifForSaving(const ExifBlock& exif, int width, int height)
{
    ExifBlock out = exif;
    TiffBlock tiff(out);
    if (!tiff.Valid())
        return {};
    const std::size_t ifd0 = tiff.U32(4);
    if (!tiff.NextField(ifd0))
        return {};
    if (const auto entry = tiff.Entry(ifd0, OrientationTag))
        tiff.SetNumber(*entry, 1);
    if (const auto pointer = tiff.Entry(ifd0, ExifIfdTag)) {
        const auto exifIfd = tiff.Number(*pointer);
        if (exifIfd && tiff.NextField(*exifIfd)) {
            if (const auto x = tiff.Entry(*exifIfd, PixelXTag))
                tiff.SetNumber(*x, static_cast<std::uint32_t>(width));
            if (const auto y = tiff.Entry(*exifIfd, PixelYTag))
                tiff.SetNumber(*y, static_cast<std::uint32_t>(height));
        }
    }
    // The thumbnail's directory is cut off, and its picture wiped (or cut
    // off, when it ends the block).
    const std::size_t next = *tiff.NextField(ifd0);
    if (const std::size_t ifd1 = tiff.U32(next); ifd1 != 0) {
        tiff.Put32(next, 0);
        if (tiff.NextField(ifd1)) {
            const auto offset = tiff.Entry(ifd1, ThumbnailOffsetTag);
            const auto length = tiff.Entry(ifd1, ThumbnailLengthTag);
            // No thumbnail is 0 bytes at 0: nothing to wipe.
            const std::size_t start = offset ? tiff.Number(*offset).value_or(0) : 0;
            const std::size_t bytes = length ? tiff.Number(*length).value_or(0) : 0;
            if (bytes != 0 && tiff.Has(start, bytes)) {
                if (start + bytes == out.size())
                    out.resize(start);
                else
                    std::memset(out.data() + start, 0, bytes);
            }
        }
    }
    return out;
}

} // namespace krt
