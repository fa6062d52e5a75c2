// WebP through libwebp: stills (lossy, lossless, with alpha) and the first
// frame of an animation, on its canvas; EXIF and the colour profile from the
// container's chunks. Writing: lossy, or lossless at quality 100, with EXIF.

#include "imageio/codecs/Codec.h"

#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace krt {
namespace {

struct DemuxDeleter {
    void operator()(WebPDemuxer* d) const { WebPDemuxDelete(d); }
};
struct MuxDeleter {
    void operator()(WebPMux* m) const { WebPMuxDelete(m); }
};

std::vector<std::uint8_t> Chunk(WebPDemuxer* demux, const char* name)
{
    WebPChunkIterator chunk;
    std::vector<std::uint8_t> bytes;
    if (WebPDemuxGetChunk(demux, name, 1, &chunk)) {
        bytes.assign(chunk.chunk.bytes, chunk.chunk.bytes + chunk.chunk.size);
        WebPDemuxReleaseChunkIterator(&chunk);
    }
    return bytes;
}

// The frame's blue-green-red-alpha pixels over white, at its place on the canvas.
void Place(const std::vector<std::uint8_t>& bgra, int width, int height, int left, int top, TFastBMP& image)
{
    for (int y = 0; y < height && top + y < image.Height; ++y) {
        const std::uint8_t* s = bgra.data() + static_cast<std::size_t>(y) * width * 4;
        std::uint8_t* d = image.RowTable[static_cast<std::size_t>(top + y)] + 3 * left;
        for (int x = 0; x < width && left + x < image.Width; ++x, s += 4, d += 3)
            for (int c = 0; c < 3; ++c)
                d[c] = OverWhite(s[c], s[3]);
    }
}

} // namespace

namespace {

// Decodes one frame's bitstream into `output`'s memory, or throws.
void DecodeFrame(const WebPIterator& frame, WebPDecoderConfig& config)
{
    const VP8StatusCode status = WebPDecode(frame.fragment.bytes, frame.fragment.size, &config);
    if (status != VP8_STATUS_OK)
        throw DecodeError(status == VP8_STATUS_NOT_ENOUGH_DATA ? "its WebP image data is cut short"
                                                               : "its WebP image data is damaged");
}

// An opaque frame covering the canvas goes straight into the picture's rows
// (stored bottom up, so libwebp writes them flipped from the lowest one).
void DecodeOpaque(const WebPIterator& frame, WebPDecoderConfig& config, TFastBMP& image)
{
    const std::size_t stride = static_cast<std::size_t>(image.RowTable[0] - image.RowTable.back()) /
                               std::max<std::size_t>(image.RowTable.size() - 1, 1);
    config.output.colorspace = MODE_BGR;
    config.output.is_external_memory = 1;
    config.options.flip = 1;
    config.output.u.RGBA.rgba = image.RowTable.back();
    config.output.u.RGBA.stride = static_cast<int>(image.Height > 1 ? stride : 3 * image.Width);
    config.output.u.RGBA.size = config.output.u.RGBA.stride * static_cast<std::size_t>(image.Height);
    DecodeFrame(frame, config);
}

// A frame with alpha, or smaller than the canvas: through a buffer with
// alpha, placed over white.
void DecodeBlended(const WebPIterator& frame, WebPDecoderConfig& config, TFastBMP& image)
{
    const int width = config.input.width, height = config.input.height;
    std::vector<std::uint8_t> bgra(static_cast<std::size_t>(width) * height * 4);
    config.output.colorspace = MODE_BGRA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = bgra.data();
    config.output.u.RGBA.stride = width * 4;
    config.output.u.RGBA.size = bgra.size();
    DecodeFrame(frame, config);
    image.Fill(White);
    Place(bgra, width, height, frame.x_offset, frame.y_offset, image);
}

struct FrameReleaser {
    void operator()(WebPIterator* frame) const { WebPDemuxReleaseIterator(frame); }
};

} // namespace

void DecodeWebp(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits,
                PictureMetadata* metadata)
{
    // The demuxer refuses a file whose chunks are cut short before anything is allocated.
    const WebPData whole{data, size};
    const std::unique_ptr<WebPDemuxer, DemuxDeleter> demux(WebPDemux(&whole));
    if (!demux)
        throw DecodeError("it is not a readable WebP image (or it is cut short)");
    const int canvasWidth = static_cast<int>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH));
    const int canvasHeight = static_cast<int>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT));
    CheckDecodedSize(canvasWidth, canvasHeight, limits);
    WebPIterator frame;
    if (!WebPDemuxGetFrame(demux.get(), 1, &frame))
        throw DecodeError("the WebP file holds no image");
    const std::unique_ptr<WebPIterator, FrameReleaser> release(&frame);
    WebPDecoderConfig config;
    WebPInitDecoderConfig(&config);
    const bool known = WebPGetFeatures(frame.fragment.bytes, frame.fragment.size, &config.input) == VP8_STATUS_OK;
    const int width = config.input.width, height = config.input.height;
    if (!known || width <= 0 || height <= 0 || frame.x_offset + width > canvasWidth ||
        frame.y_offset + height > canvasHeight)
        throw DecodeError("its WebP image data is damaged");
    image.Allocate(canvasWidth, canvasHeight);
    if (!config.input.has_alpha && width == canvasWidth && height == canvasHeight)
        DecodeOpaque(frame, config, image);
    else
        DecodeBlended(frame, config, image);
    WebPFreeDecBuffer(&config.output);
    if (metadata) {
        const std::vector<std::uint8_t> exif = Chunk(demux.get(), "EXIF");
        metadata->exif = ExifFromPayload(exif.data(), exif.size());
        metadata->icc = Chunk(demux.get(), "ICCP");
    }
}

void EncodeWebp(const TFastBMP& image, int quality, std::FILE* file, const ExifBlock& exif)
{
    if (quality < 1 || quality > 100)
        throw std::runtime_error("the WebP quality must lie between 1 and 100, not " + std::to_string(quality));
    if (image.Empty())
        throw std::runtime_error("an empty image cannot be saved as WebP");
    if (image.Width > WEBP_MAX_DIMENSION || image.Height > WEBP_MAX_DIMENSION)
        throw std::runtime_error("WebP pictures are at most " + std::to_string(WEBP_MAX_DIMENSION) +
                                 " pixels wide and high");
    // The encoder reads rows top down in one block.
    const int stride = 3 * image.Width;
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * image.Height);
    for (int y = 0; y < image.Height; ++y)
        std::memcpy(rows.data() + static_cast<std::size_t>(y) * stride, image.RowTable[static_cast<std::size_t>(y)],
                    static_cast<std::size_t>(stride));
    std::uint8_t* encoded = nullptr;
    const std::size_t length =
        quality == 100
            ? WebPEncodeLosslessBGR(rows.data(), image.Width, image.Height, stride, &encoded)
            : WebPEncodeBGR(rows.data(), image.Width, image.Height, stride, static_cast<float>(quality), &encoded);
    const std::unique_ptr<std::uint8_t, void (*)(void*)> owned(encoded, WebPFree);
    if (length == 0)
        throw std::runtime_error("the WebP encoder failed");
    WebPData out{encoded, length};
    WebPData assembled{nullptr, 0};
    if (!exif.empty()) {
        const std::unique_ptr<WebPMux, MuxDeleter> mux(WebPMuxNew());
        const WebPData exifData{exif.data(), exif.size()};
        if (!mux || WebPMuxSetImage(mux.get(), &out, 0) != WEBP_MUX_OK ||
            WebPMuxSetChunk(mux.get(), "EXIF", &exifData, 0) != WEBP_MUX_OK ||
            WebPMuxAssemble(mux.get(), &assembled) != WEBP_MUX_OK)
            throw std::runtime_error("the WebP metadata could not be stored");
        out = assembled;
    }
    const bool written = std::fwrite(out.bytes, 1, out.size, file) == out.size;
    WebPDataClear(&assembled);
    if (!written)
        throw std::runtime_error("the file could not be written");
}

} // namespace krt
