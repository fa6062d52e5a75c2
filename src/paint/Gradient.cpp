#include "paint/Gradient.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace krt {
namespace {

// Position of a pixel along a vertical drag: 0 before the start, 1 beyond the end.
long double VerticalParameter(int y, int y0, int y1)
{
    if ((y0 < y1 && y < y0) || (y0 >= y1 && y >= y0))
        return 0;
    if ((y1 < y0 && y < y1) || (y1 >= y0 && y >= y1))
        return 1;
    return std::fabs((y - y0) / (y1 - y0 + 0.0001L));
}

} // namespace

void LinearGradient(Editor& editor, int x0, int y0, int x1, int y1)
{
    if (x0 == x1 && y0 == y1)
        return;
    PackedColor a = editor.Settings.ForeColor, b = editor.Settings.BackColor;
    if (x1 < x0) {
        std::swap(x0, x1);
        std::swap(y0, y1);
        std::swap(a, b);
    }
    const long double length =
        std::sqrt(static_cast<long double>(x1 - x0) * (x1 - x0) + static_cast<long double>(y1 - y0) * (y1 - y0)) +
        0.0001L;
    const int transparency = std::clamp(editor.Settings.Transparency, 0, 100);
    const long double ca[3] = {static_cast<long double>(BlueOf(a)), static_cast<long double>(GreenOf(a)),
                               static_cast<long double>(RedOf(a))};
    const long double cb[3] = {static_cast<long double>(BlueOf(b)), static_cast<long double>(GreenOf(b)),
                               static_cast<long double>(RedOf(b))};

    TFastBMP& image = editor.Image;
    int left = 0, top = 0, right = image.Width, bottom = image.Height;
    if (editor.Selection.HasSelection()) {
        const SelectionBounds& r = editor.Selection.SelectionRect;
        left = std::max(r.x, 0);
        top = std::max(r.y, 0);
        right = std::min(r.x + r.w, image.Width);
        bottom = std::min(r.y + r.h, image.Height);
    }
    for (int y = top; y < bottom; ++y) {
        const std::uint8_t* selection = editor.Selection.HasSelection() ? editor.Selection.SelectionMask.data() +
                                                                              static_cast<std::size_t>(y) * image.Width
                                                                        : nullptr;
        for (int x = left; x < right; ++x) {
            if (selection && selection[x] == 0)
                continue;
            long double t;
            if (x0 == x1) {
                t = VerticalParameter(y, y0, y1);
            } else {
                const long double m =
                    (static_cast<long double>(x - x0) * (x1 - x0) + static_cast<long double>(y - y0) * (y1 - y0)) /
                    length;
                t = m < 0 ? 0 : m > length ? 1 : m / length;
            }
            std::uint8_t* p = image.PixelAddress(x, y);
            for (int ch = 0; ch < 3; ++ch) {
                const long double mixed = ((ca[ch] * (1 - t) + cb[ch] * t) * (100 - transparency) +
                                           p[ch] * static_cast<long double>(transparency)) *
                                          0.01L;
                p[ch] = static_cast<std::uint8_t>(std::clamp<long double>(std::trunc(mixed), 0, 255));
            }
        }
    }
}

void FrameRect(TFastBMP& buffer, int x0, int y0, int x1, int y1, PackedColor color)
{
    if (x1 < x0)
        std::swap(x0, x1);
    if (y1 < y0)
        std::swap(y0, y1);
    auto set = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < buffer.Width && y < buffer.Height)
            buffer.SetPixel(x, y, color);
    };
    for (int x = std::max(x0, 0); x <= std::min(x1, buffer.Width - 1); ++x) {
        set(x, y0);
        set(x, y1);
    }
    for (int y = std::max(y0, 0); y <= std::min(y1, buffer.Height - 1); ++y) {
        set(x0, y);
        set(x1, y);
    }
}

} // namespace krt
