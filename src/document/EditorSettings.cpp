#include "document/EditorSettings.h"

#include <algorithm>

namespace krt {

PosterizeTable IdentityPosterizeTable()
{
    PosterizeTable t{};
    for (int i = 0; i < 256; ++i)
        t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    return t;
}

PosterizeTable MakePosterizeTable(int step)
{
    step = std::clamp(step, 1, 255);
    PosterizeTable t{};
    const int d = step / 2;
    for (int v = 0; v < 256; ++v)
        t[static_cast<std::size_t>(v)] =
            static_cast<std::uint8_t>(v < d ? 0 : std::min(step * ((v - d) / step + 1), 255));
    return t;
}

void SetPosterize(EditorSettings& s, int red, int green, int blue)
{
    s.PosterizeR = MakePosterizeTable(red);
    s.PosterizeG = MakePosterizeTable(green);
    s.PosterizeB = MakePosterizeTable(blue);
}

PackedColor ActiveColor(const EditorSettings& s) { return s.ActiveIsForeground ? s.ForeColor : s.BackColor; }

void SetActiveColor(EditorSettings& s, PackedColor color)
{
    (s.ActiveIsForeground ? s.ForeColor : s.BackColor) = color;
}

} // namespace krt
