#include "imageio/ColorProfile.h"

#include "core/ThreadPool.h"

#include <lcms2.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

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

// A profile of three curves and a matrix (what cameras, phones and image
// editors embed: sRGB, Adobe RGB, Display P3 ...) goes to sRGB as a table
// per channel to linear light, one 3 x 3 matrix and a table back, several
// times faster than lcms's general 8-bit path and within one level of it.
// Anything else (tables of colours, curves that do not start at black,
// where black-point compensation would act) goes through lcms.
class MatrixShaper {
public:
    static std::optional<MatrixShaper> Of(void* from)
    {
        const Profile srgb(cmsCreate_sRGBProfile());
        if (!srgb || !cmsIsMatrixShaper(from) || cmsIsCLUT(from, INTENT_RELATIVE_COLORIMETRIC, LCMS_USED_AS_INPUT))
            return std::nullopt;
        MatrixShaper shaper;
        double source[3][3], target[3][3];
        if (!Colorants(from, source) || !Colorants(srgb.get(), target) || !Invert(target))
            return std::nullopt;
        double matrix[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                matrix[i][j] = 0;
                for (int k = 0; k < 3; ++k)
                    matrix[i][j] += target[i][k] * source[k][j];
            }
        const cmsTagSignature curves[3] = {cmsSigRedTRCTag, cmsSigGreenTRCTag, cmsSigBlueTRCTag};
        for (int j = 0; j < 3; ++j) {
            const auto* curve = static_cast<const cmsToneCurve*>(cmsReadTag(from, curves[j]));
            if (!curve || cmsEvalToneCurveFloat(curve, 0.0f) > 1e-6f)
                return std::nullopt;
            for (int v = 0; v < 256; ++v) {
                const double linear = cmsEvalToneCurveFloat(curve, static_cast<float>(v) / 255.0f);
                for (int i = 0; i < 3; ++i)
                    shaper.terms[i][j][v] =
                        static_cast<std::int32_t>(std::lround(matrix[i][j] * linear * (EncodeSteps - 1)));
            }
        }
        // sRGB's own curve, reversed, sampled finely enough near black
        // (where it is steepest) to stay within a level.
        const auto* srgbCurve = static_cast<const cmsToneCurve*>(cmsReadTag(srgb.get(), cmsSigRedTRCTag));
        cmsToneCurve* back = srgbCurve ? cmsReverseToneCurve(srgbCurve) : nullptr;
        if (!back)
            return std::nullopt;
        for (int i = 0; i < EncodeSteps; ++i) {
            const float v = cmsEvalToneCurveFloat(back, static_cast<float>(i) / (EncodeSteps - 1));
            shaper.encode[static_cast<std::size_t>(i)] =
                static_cast<std::uint8_t>(std::clamp(std::lround(v * 255.0f), 0L, 255L));
        }
        cmsFreeToneCurve(back);
        return shaper;
    }

    // `count` blue-green-red pixels in place: each output channel is the sum
    // of three table entries (matrix times linear value, in 1/65535ths),
    // clamped and looked up.
    void Row(std::uint8_t* p, int count) const
    {
        const std::uint8_t* const back = encode.data();
        auto level = [back](std::int32_t sum) { return back[std::min(std::max(sum, 0), EncodeSteps - 1)]; };
        for (int x = 0; x < count; ++x, p += 3) {
            const std::uint8_t r = p[2], g = p[1], b = p[0];
            const std::uint8_t outR = level(terms[0][0][r] + terms[0][1][g] + terms[0][2][b]);
            const std::uint8_t outG = level(terms[1][0][r] + terms[1][1][g] + terms[1][2][b]);
            const std::uint8_t outB = level(terms[2][0][r] + terms[2][1][g] + terms[2][2][b]);
            p[0] = outB;
            p[1] = outG;
            p[2] = outR;
        }
    }

private:
    static constexpr int EncodeSteps = 1 << 14; // 16 KB: the table stays in the first-level cache

    // The profile's primaries in the connection space (columns: red, green, blue).
    static bool Colorants(void* profile, double m[3][3])
    {
        const cmsTagSignature tags[3] = {cmsSigRedColorantTag, cmsSigGreenColorantTag, cmsSigBlueColorantTag};
        for (int c = 0; c < 3; ++c) {
            const auto* xyz = static_cast<const cmsCIEXYZ*>(cmsReadTag(profile, tags[c]));
            if (!xyz)
                return false;
            m[0][c] = xyz->X;
            m[1][c] = xyz->Y;
            m[2][c] = xyz->Z;
        }
        return true;
    }

    static bool Invert(double m[3][3])
    {
        const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                           m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                           m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
        if (std::abs(det) < 1e-12)
            return false;
        double inverse[3][3];
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                // The cofactor of (j, i), by the cyclic rule.
                const int a = (j + 1) % 3, b = (j + 2) % 3, c = (i + 1) % 3, d = (i + 2) % 3;
                inverse[i][j] = (m[a][c] * m[b][d] - m[a][d] * m[b][c]) / det;
            }
        std::copy(&inverse[0][0], &inverse[0][0] + 9, &m[0][0]);
        return true;
    }

    // terms[i][j][v]: output channel i's share of input channel j at v.
    std::int32_t terms[3][3][256];
    std::vector<std::uint8_t> encode = std::vector<std::uint8_t>(EncodeSteps);
};

} // namespace

struct SrgbConverter::Parts {
    Transform transform;
    std::optional<MatrixShaper> shaper;
};

std::unique_ptr<SrgbConverter> SrgbConverter::Make(const IccProfile& bytes)
{
    const Profile profile = Open(bytes);
    if (!profile || cmsGetColorSpace(profile.get()) != cmsSigRgbData)
        return nullptr;
    auto parts = std::make_unique<Parts>();
    parts->transform = ToSrgb(profile.get(), TYPE_BGR_8);
    if (!parts->transform || Identity(parts->transform.get()))
        return nullptr;
    parts->shaper = MatrixShaper::Of(profile.get());
    return std::unique_ptr<SrgbConverter>(new SrgbConverter(std::move(parts)));
}

SrgbConverter::SrgbConverter(std::unique_ptr<Parts> made) : parts(std::move(made)) {}
SrgbConverter::~SrgbConverter() = default;

void SrgbConverter::Rows(TFastBMP& picture, int from, int to) const
{
    for (int y = from; y < to; ++y) {
        std::uint8_t* row = picture.RowTable[static_cast<std::size_t>(y)];
        if (parts->shaper)
            parts->shaper->Row(row, picture.Width);
        else
            cmsDoTransform(parts->transform.get(), row, row, static_cast<cmsUInt32Number>(picture.Width));
    }
}

bool ConvertToSrgb(TFastBMP& picture, const IccProfile& profile)
{
    const std::unique_ptr<SrgbConverter> converter = SrgbConverter::Make(profile);
    if (!converter)
        return false;
    ParallelRows(picture.Height, ThreadPool::Count(0), [&](int from, int to) { converter->Rows(picture, from, to); });
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
