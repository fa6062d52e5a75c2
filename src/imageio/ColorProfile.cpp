#include "imageio/ColorProfile.h"

#include "core/ThreadPool.h"

#include <lcms2.h>

#include <algorithm>
#include <memory>

namespace krt {
namespace {

struct ProfileCloser {
    void operator()(void* p) const { cmsCloseProfile(p); }
};
using Profile = std::unique_ptr<void, ProfileCloser>;

struct TransformDeleter {
    void operator()(void* t) const { cmsDeleteTransform(t); }
};
using Transform = std::unique_ptr<void, TransformDeleter>;

// lcms reports through a handler of its own; a broken profile is no error
// of the picture, so nothing is said.
void Silent(cmsContext, cmsUInt32Number, const char*) {}

Profile Open(const IccProfile& bytes)
{
    static const bool quiet = [] {
        cmsSetLogErrorHandler(Silent);
        return true;
    }();
    (void)quiet;
    if (bytes.empty() || bytes.size() > (std::size_t{1} << 26))
        return nullptr;
    return Profile(cmsOpenProfileFromMem(bytes.data(), static_cast<cmsUInt32Number>(bytes.size())));
}

// The transform to sRGB, shared among threads (so without lcms's one-pixel
// cache, which is not).
Transform ToSrgb(void* from, cmsUInt32Number inputFormat)
{
    const Profile srgb(cmsCreate_sRGBProfile());
    if (!srgb)
        return nullptr;
    return Transform(cmsCreateTransform(from, inputFormat, srgb.get(), TYPE_BGR_8, INTENT_RELATIVE_COLORIMETRIC,
                                        cmsFLAGS_BLACKPOINTCOMPENSATION | cmsFLAGS_NOCACHE));
}

// Whether the transform leaves every colour as it is (an sRGB profile):
// tried on a grid of 9 x 9 x 9 colours with the extremes.
bool Identity(void* transform)
{
    std::uint8_t in[9 * 9 * 9 * 3], out[sizeof in];
    std::size_t n = 0;
    for (int b = 0; b < 9; ++b)
        for (int g = 0; g < 9; ++g)
            for (int r = 0; r < 9; ++r) {
                in[n++] = static_cast<std::uint8_t>(std::min(255, 32 * b));
                in[n++] = static_cast<std::uint8_t>(std::min(255, 32 * g));
                in[n++] = static_cast<std::uint8_t>(std::min(255, 32 * r));
            }
    cmsDoTransform(transform, in, out, 9 * 9 * 9);
    return std::equal(std::begin(in), std::end(in), std::begin(out));
}

} // namespace

bool ConvertToSrgb(TFastBMP& picture, const IccProfile& bytes)
{
    const Profile profile = Open(bytes);
    if (!profile || cmsGetColorSpace(profile.get()) != cmsSigRgbData)
        return false;
    const Transform transform = ToSrgb(profile.get(), TYPE_BGR_8);
    if (!transform || Identity(transform.get()))
        return false;
    ParallelRows(picture.Height, ThreadPool::Count(0), [&](int from, int to) {
        for (int y = from; y < to; ++y) {
            std::uint8_t* row = picture.RowTable[static_cast<std::size_t>(y)];
            cmsDoTransform(transform.get(), row, row, static_cast<cmsUInt32Number>(picture.Width));
        }
    });
    return true;
}

IccProfile ProfileOf(const Chromaticities& space, ToneCurve curve)
{
    const cmsCIExyY white{space.whiteX, space.whiteY, 1.0};
    const cmsCIExyYTRIPLE primaries{
        {space.redX, space.redY, 1.0}, {space.greenX, space.greenY, 1.0}, {space.blueX, space.blueY, 1.0}};
    // The sRGB curve: a power of 2.4 with a straight foot.
    const double srgb[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve* tone = curve == ToneCurve::Srgb ? cmsBuildParametricToneCurve(nullptr, 4, srgb)
                                                  : cmsBuildGamma(nullptr, curve == ToneCurve::Linear ? 1.0 : 2.2);
    if (!tone)
        return {};
    cmsToneCurve* curves[3] = {tone, tone, tone};
    const Profile profile(cmsCreateRGBProfile(&white, &primaries, curves));
    cmsFreeToneCurve(tone);
    cmsUInt32Number size = 0;
    if (!profile || !cmsSaveProfileToMem(profile.get(), nullptr, &size) || size == 0)
        return {};
    IccProfile bytes(size);
    if (!cmsSaveProfileToMem(profile.get(), bytes.data(), &size))
        return {};
    return bytes;
}

std::unique_ptr<CmykToSrgb> CmykToSrgb::Make(const IccProfile& bytes, bool inverted)
{
    const Profile profile = Open(bytes);
    if (!profile || cmsGetColorSpace(profile.get()) != cmsSigCmykData)
        return nullptr;
    Transform transform = ToSrgb(profile.get(), inverted ? TYPE_CMYK_8_REV : TYPE_CMYK_8);
    if (!transform)
        return nullptr;
    return std::unique_ptr<CmykToSrgb>(new CmykToSrgb(transform.release()));
}

CmykToSrgb::~CmykToSrgb() { cmsDeleteTransform(transform); }

void CmykToSrgb::Row(const std::uint8_t* cmyk, std::uint8_t* bgr, int count) const
{
    cmsDoTransform(transform, cmyk, bgr, static_cast<cmsUInt32Number>(count));
}

} // namespace krt
