#include "effects/Gamma.h"

#include <cmath>

namespace krt {

GammaCurve CurveThrough(float x, float b)
{
    GammaCurve c;
    c.a = static_cast<float>(static_cast<double>(x) * (64.0 - b) / (static_cast<double>(b) - x));
    c.k = static_cast<float>(-static_cast<double>(c.a) * c.a - 64.0 * c.a);
    c.o = static_cast<float>(static_cast<double>(c.a) + 64.0);
    return c;
}

GammaCurve OpeningCurve() { return CurveThrough(32.0f, 32.0f + 26.0f / 262144.0f); }

std::optional<GammaCurve> CurveFromGraph(int x, int y, bool leftButton)
{
    if (!leftButton || x <= 0 || x >= 64 || y <= 0 || y >= 64)
        return std::nullopt;
    float b = static_cast<float>(64 - y);
    if (static_cast<float>(x) == b)
        b = static_cast<float>(static_cast<double>(b) + 0.0001);
    return CurveThrough(static_cast<float>(x), b);
}

void GammaCurves::Recompute()
{
    for (std::size_t ch = 0; ch < 3; ++ch) {
        GammaCurve& c = curves[ch];
        const double fourA = 4.0 * c.a;
        if (fourA == std::trunc(fourA))
            c.a = static_cast<float>(static_cast<double>(c.a) + 0.001);
        for (int v = 0; v < 256; ++v) {
            const double e = 16.0 * c.k / (v + 4.0 * c.a) + 4.0 * c.o;
            tables[ch][static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(e >= 255 ? 255
                                                                                : e <= 0 ? 0
                                                                                         : static_cast<int>(e));
        }
    }
}

void DrawGammaGraph(TFastBMP& graph, const GammaCurve& curve, PackedColor color)
{
    graph.Allocate(64, 64);
    graph.Fill(White);
    for (float x = 1.0f; x < 64.0f; x += 0.1f) {
        const double yd = curve.k / (static_cast<double>(x) + curve.a) + curve.o;
        if (!(std::fabs(yd) < 1e9))
            continue;
        const int y = static_cast<int>(yd);
        if (y >= 1 && y <= 64)
            graph.SetPixel(static_cast<int>(x), 64 - y, color);
    }
}

void ApplyGamma(TFastBMP& destination, const TFastBMP& source, const GammaCurves& gamma, int threads)
{
    ApplyChannelTables(destination, source, gamma.tables[2], gamma.tables[1], gamma.tables[0], threads);
}

} // namespace krt
