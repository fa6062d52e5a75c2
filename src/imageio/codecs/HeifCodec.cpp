// HEIF/HEIC and AVIF through libheif (with its HEVC and AV1 decoders): the
// primary image, with the container's rotation, mirror and crop applied.

#include "imageio/codecs/Codec.h"

#include <libheif/heif.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace krt {
namespace {

struct ContextDeleter {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleDeleter {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageDeleter {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsDeleter {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};

void Check(const heif_error& error, const char* what)
{
    if (error.code == heif_error_Ok)
        return;
    // libheif's messages may span lines; ours are one line.
    std::string message = error.message ? error.message : "";
    std::replace(message.begin(), message.end(), '\n', ' ');
    while (!message.empty() && message.back() == ' ')
        message.pop_back();
    throw DecodeError(std::string(what) + (message.empty() ? "" : ": " + message));
}

// The EXIF block of the image: HEIF stores it after a 4-byte offset to the
// TIFF header.
ExifBlock Exif(heif_image_handle* handle)
{
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) != 1)
        return {};
    const std::size_t size = heif_image_handle_get_metadata_size(handle, id);
    if (size < 4 || size > (std::size_t{1} << 24))
        return {};
    std::vector<std::uint8_t> bytes(size);
    if (heif_image_handle_get_metadata(handle, id, bytes.data()).code != heif_error_Ok)
        return {};
    const std::size_t skip =
        4 + (std::size_t{bytes[0]} << 24 | std::size_t{bytes[1]} << 16 | std::size_t{bytes[2]} << 8 | bytes[3]);
    return skip < size ? ExifFromPayload(bytes.data() + skip, size - skip) : ExifBlock{};
}

struct NclxDeleter {
    void operator()(heif_color_profile_nclx* n) const { heif_nclx_color_profile_free(n); }
};

// Colours described by video numbers (nclx): primaries other than sRGB's
// (Display P3, BT.2020 ...) become a profile. HDR curves (PQ, HLG) are left
// alone: there is no sRGB picture of them without tone mapping.
IccProfile ProfileOfNclx(heif_image_handle* handle)
{
    heif_color_profile_nclx* found = nullptr;
    const heif_error error = heif_image_handle_get_nclx_color_profile(handle, &found);
    // libheif hands out the numbers it read even when it refuses them.
    const std::unique_ptr<heif_color_profile_nclx, NclxDeleter> nclx(found);
    if (error.code != heif_error_Ok || !nclx)
        return {};
    // 1: BT.709 (sRGB's primaries), 2: unspecified.
    if (nclx->color_primaries == 1 || nclx->color_primaries == 2)
        return {};
    ToneCurve curve = ToneCurve::Srgb;
    switch (nclx->transfer_characteristics) {
    case 1:
    case 2:
    case 6:
    case 13:
    case 14:
    case 15: break; // the SDR curves, shown as sRGB's
    case 4: curve = ToneCurve::Gamma22; break;
    case 8: curve = ToneCurve::Linear; break;
    default: return {};
    }
    return ProfileOf({nclx->color_primary_red_x, nclx->color_primary_red_y, nclx->color_primary_green_x,
                      nclx->color_primary_green_y, nclx->color_primary_blue_x, nclx->color_primary_blue_y,
                      nclx->color_primary_white_x, nclx->color_primary_white_y},
                     curve);
}

// The image's colour profile: an embedded ICC profile, else one made from
// its nclx numbers.
IccProfile Profile(heif_image_handle* handle)
{
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(handle);
    if (type == heif_color_profile_type_nclx)
        return ProfileOfNclx(handle);
    if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC)
        return {};
    IccProfile profile(heif_image_handle_get_raw_color_profile_size(handle));
    if (profile.empty() || heif_image_handle_get_raw_color_profile(handle, profile.data()).code != heif_error_Ok)
        return {};
    return profile;
}

} // namespace

void DecodeHeif(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits,
                PictureMetadata* metadata)
{
    const std::unique_ptr<heif_context, ContextDeleter> context(heif_context_alloc());
    if (!context)
        throw DecodeError("the HEIF decoder could not start");
    heif_context_set_maximum_image_size_limit(context.get(), MaxImageSide);
    Check(heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr),
          "it is not a readable HEIF or AVIF image");
    heif_image_handle* primary = nullptr;
    Check(heif_context_get_primary_image_handle(context.get(), &primary), "the HEIF file holds no image");
    const std::unique_ptr<heif_image_handle, HandleDeleter> handle(primary);
    CheckDecodedSize(heif_image_handle_get_width(primary), heif_image_handle_get_height(primary), limits);
    const bool alpha = heif_image_handle_has_alpha_channel(primary);
    const std::unique_ptr<heif_decoding_options, OptionsDeleter> options(heif_decoding_options_alloc());
    heif_image* decoded = nullptr;
    Check(heif_decode_image(primary, &decoded, heif_colorspace_RGB,
                            alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get()),
          "its HEIF image data is damaged");
    const std::unique_ptr<heif_image, ImageDeleter> picture(decoded);
    const int width = heif_image_get_width(decoded, heif_channel_interleaved);
    const int height = heif_image_get_height(decoded, heif_channel_interleaved);
    CheckDecodedSize(width, height, limits);
    int stride = 0;
    const std::uint8_t* plane = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    if (!plane)
        throw DecodeError("its HEIF image data is damaged");
    image.Allocate(width, height);
    const int step = alpha ? 4 : 3;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* s = plane + static_cast<std::size_t>(y) * stride;
        std::uint8_t* d = image.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < width; ++x, s += step, d += 3) {
            const unsigned a = alpha ? s[3] : 255;
            d[0] = OverWhite(s[2], a);
            d[1] = OverWhite(s[1], a);
            d[2] = OverWhite(s[0], a);
        }
    }
    if (metadata) {
        metadata->exif = Exif(primary);
        metadata->icc = Profile(primary);
        metadata->upright = true;
    }
}

} // namespace krt
