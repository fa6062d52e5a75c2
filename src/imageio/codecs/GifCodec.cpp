// GIF through giflib: the file's first image, placed on its logical screen.
// Screen pixels the image does not cover, and its transparent pixels, are white.

#include "imageio/codecs/Codec.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include <gif_lib.h>

namespace krt {
namespace {

struct MemoryInput {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length)
{
    auto* in = static_cast<MemoryInput*>(gif->UserData);
    const std::size_t n = std::min(static_cast<std::size_t>(std::max(length, 0)), in->size - in->position);
    std::memcpy(buffer, in->data + in->position, n);
    in->position += n;
    return static_cast<int>(n);
}

struct GifFile {
    GifFileType* gif = nullptr;
    ~GifFile()
    {
        if (gif) {
            int ignored = 0;
            DGifCloseFile(gif, &ignored);
        }
    }
    [[noreturn]] void Fail(const char* what) const
    {
        const char* reason = gif ? GifErrorString(gif->Error) : nullptr;
        throw DecodeError(std::string(what) + (reason ? std::string(": ") + reason : std::string()));
    }
};

// Row order of an interlaced image: every 8th row from 0, every 8th from 4,
// every 4th from 2, every 2nd from 1.
std::vector<int> RowOrder(int height, bool interlaced)
{
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y)
            order.push_back(y);
        return order;
    }
    const int start[4] = {0, 4, 2, 1};
    const int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = start[pass]; y < height; y += step[pass])
            order.push_back(y);
    return order;
}

// Reads an extension block; a graphic control block names the transparent
// colour of the image that follows (or none), which is returned.
int ReadExtension(const GifFile& file, int transparent)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(file.gif, &code, &block) == GIF_ERROR)
        file.Fail("its GIF data is damaged");
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4)
        transparent = (block[1] & 1) ? block[4] : -1;
    while (block) {
        if (DGifGetExtensionNext(file.gif, &block) == GIF_ERROR)
            file.Fail("its GIF data is damaged");
    }
    return transparent;
}

// The image whose descriptor comes next, on a white screen of the file's size.
void ReadImage(const GifFile& file, int transparent, TFastBMP& image, const DecodeLimits& limits)
{
    GifFileType* gif = file.gif;
    if (DGifGetImageDesc(gif) == GIF_ERROR)
        file.Fail("its GIF data is damaged");
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!map || map->ColorCount <= 0 || !map->Colors)
        throw DecodeError("the GIF image has no colour table");
    if (desc.Width <= 0 || desc.Height <= 0)
        throw DecodeError("the first GIF image has no pixels");
    CheckDecodedSize(desc.Width, desc.Height, limits);

    image.Allocate(gif->SWidth, gif->SHeight);
    image.Fill(White);
    std::vector<GifPixelType> line(static_cast<std::size_t>(desc.Width));
    for (int y : RowOrder(desc.Height, desc.Interlace)) {
        if (DGifGetLine(gif, line.data(), desc.Width) == GIF_ERROR)
            file.Fail("its GIF image data is damaged or cut short");
        const int row = desc.Top + y;
        if (row < 0 || row >= image.Height)
            continue;
        for (int x = 0; x < desc.Width; ++x) {
            const int column = desc.Left + x;
            const int index = line[static_cast<std::size_t>(x)];
            if (column >= image.Width || index == transparent)
                continue;
            const PackedColor c = index < map->ColorCount ? PackRGB(map->Colors[index].Red, map->Colors[index].Green,
                                                                    map->Colors[index].Blue)
                                                          : Black;
            image.SetPixel(column, row, c);
        }
    }
}

} // namespace

void DecodeGif(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits)
{
    MemoryInput input{data, size, 0};
    GifFile file;
    int error = 0;
    file.gif = DGifOpen(&input, ReadFromMemory, &error);
    if (!file.gif) {
        const char* reason = GifErrorString(error);
        throw DecodeError(std::string("it is not a readable GIF image") + (reason ? std::string(": ") + reason : ""));
    }
    CheckDecodedSize(file.gif->SWidth, file.gif->SHeight, limits);
    int transparent = -1;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(file.gif, &record) == GIF_ERROR)
            file.Fail("its GIF data is damaged");
        if (record == TERMINATE_RECORD_TYPE)
            throw DecodeError("the GIF file holds no image");
        if (record == EXTENSION_RECORD_TYPE)
            transparent = ReadExtension(file, transparent);
        else if (record == IMAGE_DESC_RECORD_TYPE)
            return ReadImage(file, transparent, image, limits);
    }
}

} // namespace krt
