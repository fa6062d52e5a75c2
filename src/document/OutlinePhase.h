#pragma once

#include "core/FastBMP.h"

#include <cstdint>

namespace krt {

// The marching selection outline. Each timer tick draws every outline point,
// or every second one, starting at point 0 or 1, and then advances, so the
// outline cycles through four looks: every point; every second point from 1;
// every point from 1; every second point from 0.
struct OutlinePhase {
    int OutlineStart = 0; // first outline point drawn (0 or 1)
    int OutlineGap = 0;   // 0: every point, 1: every second point

    void Advance();
};

// The colour of the outline and of every rubber band.
constexpr PackedColor RubberBandColor = PackRGB(128, 0, 0);

// Plots the outline points start, start + gap + 1, ... below `count` into
// `display`; points lying outside the buffer are skipped.
void PlotOutline(TFastBMP& display, const std::uint16_t* rows, const std::uint16_t* columns, int count,
                 const OutlinePhase& phase);

} // namespace krt
