// JPEG through libjpeg-turbo: baseline, progressive, greyscale and CMYK files
// decode straight into the buffer's rows as blue-green-red; saving writes
// baseline JPEG at a quality of 1 to 100.
//
// libjpeg reports fatal errors through longjmp. The functions that call it with
// a jump target set hold only plain data, so the jump skips no destructor.

#include "app/codecs/Codec.h"

#include <csetjmp>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace krt {
namespace {

// A hostile progressive file can hold endless scans; real ones have a dozen.
constexpr int MaxScans = 1000;

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

// Warnings are ignored, except that a file ending early would leave the rest of
// the picture grey: that is an error, not a partial picture.
void OnMessage(j_common_ptr cinfo, int level)
{
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::strcpy(err->message, "the file is truncated");
        std::longjmp(err->jump, 1);
    }
}

void OnProgress(j_common_ptr cinfo)
{
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > MaxScans) {
        auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
        std::strcpy(err->message, "the file holds too many progressive scans");
        std::longjmp(err->jump, 1);
    }
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
        jpeg_read_header(&cinfo, TRUE);
        return true;
    }

    bool ReadPixels(TFastBMP& image)
    {
        if (setjmp(err.jump))
            return false;
        const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
        cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
        cinfo.scale_num = 1;
        cinfo.scale_denom = 1;
        jpeg_start_decompress(&cinfo);
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
        while (cinfo.output_scanline < cinfo.output_height) {
            std::uint8_t* row = image.RowTable[cinfo.output_scanline];
            if (!cmyk) {
                JSAMPROW rows[1] = {row};
                jpeg_read_scanlines(&cinfo, rows, 1);
                continue;
            }
            jpeg_read_scanlines(&cinfo, cmykRow, 1);
            const std::uint8_t* s = cmykRow[0];
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

    bool Write(const TFastBMP& image, int quality, std::FILE* file)
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
        while (cinfo.next_scanline < cinfo.image_height) {
            JSAMPROW rows[1] = {image.RowTable[cinfo.next_scanline]};
            jpeg_write_scanlines(&cinfo, rows, 1);
        }
        jpeg_finish_compress(&cinfo);
        return true;
    }
};

} // namespace

void DecodeJpeg(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits)
{
    Decoder decoder;
    if (!decoder.ReadHeader(data, size))
        throw DecodeError(std::string("it is not a readable JPEG image: ") + decoder.err.message);
    CheckDecodedSize(decoder.cinfo.image_width, decoder.cinfo.image_height, limits);
    image.Allocate(static_cast<int>(decoder.cinfo.image_width), static_cast<int>(decoder.cinfo.image_height));
    if (!decoder.ReadPixels(image))
        throw DecodeError(std::string("its JPEG data is damaged: ") + decoder.err.message);
}

void EncodeJpeg(const TFastBMP& image, int quality, std::FILE* file)
{
    if (quality < 1 || quality > 100)
        throw std::runtime_error("the JPEG quality must lie between 1 and 100, not " + std::to_string(quality));
    if (image.Empty())
        throw std::runtime_error("an empty image cannot be saved as JPEG");
    Encoder encoder;
    if (!encoder.Write(image, quality, file))
        throw std::runtime_error(std::string("the JPEG encoder failed: ") + encoder.err.message);
}

} // namespace krt
