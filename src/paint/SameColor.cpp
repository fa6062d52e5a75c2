#include "paint/SameColor.h"

namespace krt {

bool SameColor(const EditorSettings& s, PackedColor a, PackedColor b)
{
    return s.PosterizeR[RedOf(a)] == s.PosterizeR[RedOf(b)] && s.PosterizeG[GreenOf(a)] == s.PosterizeG[GreenOf(b)] &&
           s.PosterizeB[BlueOf(a)] == s.PosterizeB[BlueOf(b)];
}

ColorMatch::ColorMatch(const EditorSettings& s, PackedColor color) : tables(&s)
{
    const PosterizeTable same = IdentityPosterizeTable();
    identity = s.PosterizeR == same && s.PosterizeG == same && s.PosterizeB == same;
    r = s.PosterizeR[RedOf(color)];
    g = s.PosterizeG[GreenOf(color)];
    b = s.PosterizeB[BlueOf(color)];
}

} // namespace krt
