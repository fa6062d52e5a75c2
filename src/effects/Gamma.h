#pragma once

#include "core/FastBMP.h"
#include "effects/PixelTables.h"

#include <array>
#include <optional>

namespace krt {

// One channel's tone curve in the 64 x 64 graph: y = k / (x + a) + o, through
// (0, 0), (64, 64) and the control point the user chose; single precision.
struct GammaCurve {
    float a = 0;
    float k = 0;
    float o = 0;
};

// The curve through the control point (x, b) of graph space.
GammaCurve CurveThrough(float x, float b);
// The curve of an opened dialog: through (32, 32 + 26 x 2^-18), nearly the diagonal.
GammaCurve OpeningCurve();

// A press or drag at box pixel (x, y) (y from the top) of a graph: the new
// curve, or nothing when the point lies outside 0 < x, y < 64 or the left
// button is not held. A point on the diagonal is moved off it by 0.0001.
std::optional<GammaCurve> CurveFromGraph(int x, int y, bool leftButton);

// The three curves, red, green and blue, with their lookup tables.
struct GammaCurves {
    std::array<GammaCurve, 3> curves{OpeningCurve(), OpeningCurve(), OpeningCurve()};
    std::array<ByteTable, 3> tables{};
    // After every change: nudges each a whose 4a is whole by 0.001 (kept), then
    // builds the tables, table(v) = 4 y(v / 4) clamped to 0..255.
    void Recompute();
};

// Draws a curve into a 64 x 64 graph buffer, white around it.
void DrawGammaGraph(TFastBMP& graph, const GammaCurve& curve, PackedColor color);

// The gamma effect: destination = source through the tables, per channel.
void ApplyGamma(TFastBMP& destination, const TFastBMP& source, const GammaCurves& gamma, int threads = 0);

} // namespace krt
