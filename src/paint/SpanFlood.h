#pragma once

#include "paint/WorkQueue.h"

namespace krt {

// Takes the four-connected region of open cells around a seed, a row run at a
// time. `open(x, y)` says whether a cell may join; `take(x, y)` marks it
// joined, after which it is no longer open and `taken(x, y)` is true. Only
// this flood may make cells taken.
//
// A run is taken whole as soon as it is found (extended left and right as far
// as cells are open), so two taken runs never touch within a row, and the work
// list holds only the run's row and first column: its end is where the taken
// cells stop. Every run enters the list once, so it cannot overflow.
template <typename Open, typename Take, typename Taken>
void SpanFlood(DocumentBuffers& buffers, int width, int height, int x, int y, Open&& open, Take&& take, Taken&& taken)
{
    if (!open(x, y))
        return;
    WorkQueue queue(buffers);
    // Takes the run of open cells through (cx, cy) and queues it.
    auto takeRun = [&](int cx, int cy) {
        int left = cx;
        while (left > 0 && open(left - 1, cy))
            --left;
        int right = cx;
        while (right + 1 < width && open(right + 1, cy))
            ++right;
        for (int k = left; k <= right; ++k)
            take(k, cy);
        queue.Push(left, cy);
        return right;
    };
    takeRun(x, y);
    int left, row;
    while (queue.Pop(left, row)) {
        int right = left;
        while (right + 1 < width && taken(right + 1, row))
            ++right;
        for (int next : {row - 1, row + 1}) {
            if (next < 0 || next >= height)
                continue;
            for (int k = left; k <= right; ++k)
                if (open(k, next))
                    k = takeRun(k, next);
        }
    }
}

} // namespace krt
