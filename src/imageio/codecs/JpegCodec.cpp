// JPEG through libjpeg-turbo: baseline, progressive, greyscale and CMYK files
// decode straight into the buffer's rows as blue-green-red; saving writes
// baseline JPEG at a quality of 1 to 100.
//
// libjpeg reports fatal errors through longjmp. The functions that call it with
// a jump target set hold only plain data, so the jump skips no destructor.

#include "imageio/codecs/Codec.h"

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace krt {
namespace {

// A hostile progressive file can hold endless scans; real ones have a dozen.
// Each scan costs work over the whole picture, so the bound is on scans times
// pixels: a dozen scans of the largest picture the editor holds pass.
constexpr int MaxScans = 1000;
constexpr std::int64_t MaxScanPixels = std::int64_t{1} << 32;

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void OnError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

[[noreturn]] void Refuse(j_common_ptr cinfo, const char* why)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    std::strcpy(err->message, why);
    std::longjmp(err->jump, 1);
}

// Warnings are ignored, except those that say part of the picture's data is
// missing (the file ends early, or a segment does): the rest of the picture
// would be grey, and that is an error, not a partial picture.
void OnMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return;
    const int code = cinfo->err->msg_code;
    if (code == JWRN_JPEG_EOF)
        Refuse(cinfo, "the file is truncated");
    if (code == JWRN_HIT_MARKER || code == JWRN_MUST_RESYNC)
        Refuse(cinfo, "part of the picture's data is missing");
}

constexpr const char* TooManyScans = "the file holds too many progressive scans for its size";

bool ScansWithinBounds(std::int64_t scans, std::int64_t pixels)
{
    return scans <= MaxScans && scans * pixels <= MaxScanPixels;
}

void OnProgress(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (!ScansWithinBounds(d->input_scan_number, std::int64_t{d->image_width} * d->image_height))
        Refuse(cinfo, TooManyScans);
}

// The scans a JPEG stream announces (start-of-scan markers), counted over the
// markers and the entropy-coded data between them without decoding anything,
// stopping at the end marker or once `enough` are seen. Lets a file with
// endless scans be refused before the decoder sizes its coefficient buffers.
std::int64_t CountScans(const std::uint8_t* data, std::size_t size, std::int64_t enough)
{
    std::int64_t scans = 0;
    std::size_t i = 2; // after the start-of-image marker
    while (i + 1 < size && scans < enough) {
        const void* mark = std::memchr(data + i, 0xFF, size - i);
        if (!mark)
            break;
        i = static_cast<std::size_t>(static_cast<const std::uint8_t*>(mark) - data);
        if (i + 1 >= size)
            break;
        const std::uint8_t code = data[i + 1];
        // Fill bytes, stuffed zeros, restart markers: inside entropy data.
        if (code == 0xFF || code == 0x00 || code == 0x01 || (code >= 0xD0 && code <= 0xD7)) {
            i += code == 0xFF ? 1 : 2;
            continue;
        }
        if (code == 0xD9)
            break;
        if (code == 0xDA)
            ++scans;
        if (i + 3 >= size)
            break;
        // A marker segment: its length counts its own two bytes.
        i += 2 + ((std::size_t{data[i + 2]} << 8) | data[i + 3]);
    }
    return scans;
}

// Whether every coefficient of every component arrived in some scan of a
// progressive file (a file cut between scans leaves some never sent).
bool AllCoefficientsSent(const jpeg_decompress_struct& cinfo)
{
    if (!cinfo.progressive_mode || !cinfo.coef_bits)
        return true;
    for (int c = 0; c < cinfo.num_components; ++c)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (cinfo.coef_bits[c][k] < 0)
                return false;
    return true;
}

void InitErrors(ErrorManager& err)
{
    jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    err.message[0] = '\0';
}

struct Decoder {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    jpeg_progress_mgr progress;
    bool created = false;

    ~Decoder()
    {
        if (created)
            jpeg_destroy_decompress(&cinfo);
    }

    bool ReadHeader(const std::uint8_t* data, std::size_t size)
    {
        InitErrors(err);
        cinfo.err = &err.pub;
        if (setjmp(err.jump))
            return false;
        jpeg_create_decompress(&cinfo);
        created = true;
        progress.progress_monitor = OnProgress;
        cinfo.progress = &progress;
        // Keep a hostile file from claiming gigabytes of coefficient buffers.
        cinfo.mem->max_memory_to_use = 2048L * 1024 * 1024;
        jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));
        // EXIF (APP1) and the colour profile (APP2, possibly in several parts).
        jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
        jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);
        jpeg_read_header(&cinfo, TRUE);
        return true;
    }

    void ReadMetadata(PictureMetadata& metadata)
    {
        for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next)
            if (m->marker == JPEG_APP0 + 1 && metadata.exif.empty())
                metadata.exif = ExifFromPayload(m->data, m->data_length);
        JOCTET* icc = nullptr;
        unsigned int length = 0;
        if (jpeg_read_icc_profile(&cinfo, &icc, &length) && icc) {
            metadata.icc.assign(icc, icc + length);
            std::free(icc);
        }
    }

    // `cmykProfile`: the embedded CMYK profile, when there is a usable one;
    // `rgbProfile` goes to `ready` with every band of 64 rows.
    bool ReadPixels(TFastBMP& image, const IccProfile& cmykProfile, const IccProfile& rgbProfile,
                    const RowsDecoded* ready)
    {
        if (setjmp(err.jump))
            return false;
        const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
        cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
        cinfo.scale_num = 1;
        cinfo.scale_denom = 1;
        jpeg_start_decompress(&cinfo);
        // A progressive file has been read whole by now.
        if (!AllCoefficientsSent(cinfo)) {
            std::strcpy(err.message, "its progressive scans stop before the picture is complete");
            return false;
        }
        if (static_cast<int>(cinfo.output_width) != image.Width ||
            static_cast<int>(cinfo.output_height) != image.Height) {
            std::strcpy(err.message, "the image size changed while decoding");
            return false;
        }
        JSAMPARRAY cmykRow = nullptr;
        if (cmyk)
            cmykRow = (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                 cinfo.output_width * 4, 1);
        // Adobe writes CMYK inverted (0 = full ink), which nearly every CMYK JPEG is.
        const bool inverted = cinfo.saw_Adobe_marker;
        const std::unique_ptr<CmykToSrgb> managed = cmyk ? CmykToSrgb::Make(cmykProfile, inverted) : nullptr;
        while (cinfo.output_scanline < cinfo.output_height) {
            std::uint8_t* row = image.RowTable[cinfo.output_scanline];
            if (!cmyk) {
                JSAMPROW rows[1] = {row};
                jpeg_read_scanlines(&cinfo, rows, 1);
                if (ready && (cinfo.output_scanline % 64 == 0 || cinfo.output_scanline == cinfo.output_height))
                    (*ready)(rgbProfile, static_cast<int>(cinfo.output_scanline));
                continue;
            }
            jpeg_read_scanlines(&cinfo, cmykRow, 1);
            const std::uint8_t* s = cmykRow[0];
            if (managed) {
                managed->Row(s, row, static_cast<int>(cinfo.output_width));
                continue;
            }
            for (JDIMENSION x = 0; x < cinfo.output_width; ++x, s += 4, row += 3) {
                const unsigned c = inverted ? s[0] : 255u - s[0];
                const unsigned m = inverted ? s[1] : 255u - s[1];
                const unsigned y = inverted ? s[2] : 255u - s[2];
                const unsigned k = inverted ? s[3] : 255u - s[3];
                row[0] = static_cast<std::uint8_t>((y * k + 127) / 255);
                row[1] = static_cast<std::uint8_t>((m * k + 127) / 255);
                row[2] = static_cast<std::uint8_t>((c * k + 127) / 255);
            }
        }
        jpeg_finish_decompress(&cinfo);
        return true;
    }
};

struct Encoder {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    bool created = false;

    ~Encoder()
    {
        if (created)
            jpeg_destroy_compress(&cinfo);
    }

    bool Write(const TFastBMP& image, int quality, std::FILE* file, const ExifBlock& exif)
    {
        InitErrors(err);
        cinfo.err = &err.pub;
        if (setjmp(err.jump))
            return false;
        jpeg_create_compress(&cinfo);
        created = true;
        jpeg_stdio_dest(&cinfo, file);
        cinfo.image_width = static_cast<JDIMENSION>(image.Width);
        cinfo.image_height = static_cast<JDIMENSION>(image.Height);
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&cinfo);
        jpeg_set_quality(&cinfo, quality, TRUE);
        jpeg_start_compress(&cinfo, TRUE);
        // EXIF goes right after the start, as APP1 ("Exif\0\0" and the block);
        // a block too large for one marker is left out.
        if (!exif.empty() && exif.size() + 6 <= 65533) {
            std::vector<JOCTET> payload = {'E', 'x', 'i', 'f', 0, 0};
            payload.insert(payload.end(), exif.begin(), exif.end());
            jpeg_write_marker(&cinfo, JPEG_APP0 + 1, payload.data(), static_cast<unsigned int>(payload.size()));
        }
        while (cinfo.next_scanline < cinfo.image_height) {
            JSAMPROW rows[1] = {image.RowTable[cinfo.next_scanline]};
            jpeg_write_scanlines(&cinfo, rows, 1);
        }
        jpeg_finish_compress(&cinfo);
        return true;
    }
};

} // namespace

void DecodeJpeg(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits,
                PictureMetadata* metadata, const RowsDecoded* rowsDecoded)
{
    Decoder decoder;
    if (!decoder.ReadHeader(data, size))
        throw DecodeError(std::string("it is not a readable JPEG image: ") + decoder.err.message);
    PictureMetadata found;
    decoder.ReadMetadata(found);
    const bool cmyk = decoder.cinfo.jpeg_color_space == JCS_CMYK || decoder.cinfo.jpeg_color_space == JCS_YCCK;
    CheckDecodedSize(decoder.cinfo.image_width, decoder.cinfo.image_height, limits);
    // Huffman coding spends at least one bit on each block of eight by eight
    // pixels of a component, subsampled at most four times each way: a file
    // cannot hold a picture of more than 8192 pixels per byte.
    const std::int64_t pixels = std::int64_t{decoder.cinfo.image_width} * decoder.cinfo.image_height;
    if (!decoder.cinfo.arith_code && pixels / 8192 > static_cast<std::int64_t>(size))
        throw DecodeError("its JPEG data is far too short for a picture of " +
                          std::to_string(decoder.cinfo.image_width) + " x " +
                          std::to_string(decoder.cinfo.image_height) + " pixels");
    if (decoder.cinfo.progressive_mode) {
        const std::int64_t enough = std::min<std::int64_t>(MaxScans, MaxScanPixels / std::max<std::int64_t>(pixels, 1));
        if (!ScansWithinBounds(CountScans(data, size, enough + 1), pixels))
            throw DecodeError(std::string("its JPEG data is damaged: ") + TooManyScans);
    }
    image.Allocate(static_cast<int>(decoder.cinfo.image_width), static_cast<int>(decoder.cinfo.image_height));
    if (!decoder.ReadPixels(image, cmyk ? found.icc : IccProfile{}, cmyk ? IccProfile{} : found.icc, rowsDecoded))
        throw DecodeError(std::string("its JPEG data is damaged: ") + decoder.err.message);
    // A CMYK profile was applied while decoding; an RGB one is the caller's.
    if (cmyk)
        found.icc.clear();
    if (metadata)
        *metadata = std::move(found);
}

void EncodeJpeg(const TFastBMP& image, int quality, std::FILE* file, const ExifBlock& exif)
{
    if (quality < 1 || quality > 100)
        throw std::runtime_error("the JPEG quality must lie between 1 and 100, not " + std::to_string(quality));
    if (image.Empty())
        throw std::runtime_error("an empty image cannot be saved as JPEG");
    Encoder encoder;
    if (!encoder.Write(image, quality, file, exif))
        throw std::runtime_error(std::string("the JPEG encoder failed: ") + encoder.err.message);
}

} // namespace krt
