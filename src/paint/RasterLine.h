#pragma once

#include <cstdlib>

namespace krt {

// Visits the Bresenham points from (x0, y0) to (x1, y1), both ends included,
// in walking order. The walk depends only on the difference of the end
// points, so a shifted line visits the same shifted points.
template <typename Visit> void WalkLine(int x0, int y0, int x1, int y1, Visit&& visit)
{
    const int dx2 = 2 * std::abs(x1 - x0);
    const int dy2 = 2 * std::abs(y1 - y0);
    const int sx = x1 < x0 ? -1 : 1;
    const int sy = y1 < y0 ? -1 : 1;
    int x = x0, y = y0;
    visit(x, y);
    if (dy2 < dx2) {
        int err = dy2 - dx2 / 2;
        while (x != x1) {
            if (err >= 0) {
                y += sy;
                err += dy2 - dx2;
            } else {
                err += dy2;
            }
            x += sx;
            visit(x, y);
        }
    } else {
        int err = dx2 - dy2 / 2;
        while (y != y1) {
            y += sy;
            if (err >= 0) {
                x += sx;
                err += dx2 - dy2;
            } else {
                err += dx2;
            }
            visit(x, y);
        }
    }
}

// The points of WalkLine that lie inside a width x height image; the walk goes
// on past points outside it.
template <typename Visit> void RasterLine(int width, int height, int x0, int y0, int x1, int y1, Visit&& visit)
{
    WalkLine(x0, y0, x1, y1, [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            visit(x, y);
    });
}

} // namespace krt
