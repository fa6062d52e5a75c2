#pragma once

#include "core/Color.h"
#include "document/EditorSettings.h"

#include <cstdint>

namespace krt {

// True when two colours look alike: equal after posterisation.
bool SameColor(const EditorSettings& settings, PackedColor a, PackedColor b);

// Compares pixels against one colour the way SameColor does, with the
// colour's posterised channels worked out once.
class ColorMatch {
public:
    ColorMatch(const EditorSettings& settings, PackedColor color);
    // p points at a pixel's bytes B, G, R.
    bool operator()(const std::uint8_t* p) const
    {
        if (identity)
            return p[0] == b && p[1] == g && p[2] == r;
        return tables->PosterizeB[p[0]] == b && tables->PosterizeG[p[1]] == g && tables->PosterizeR[p[2]] == r;
    }

private:
    const EditorSettings* tables;
    bool identity;
    std::uint8_t r, g, b;
};

} // namespace krt
