#pragma once

#include "document/Editor.h"

#include <cstdint>

namespace krt {

// A first-in, first-out list of pixel positions kept in the editor's work
// lists, which have room for every pixel of the image once: a flood that
// lets each pixel in at most once cannot overflow it.
class WorkQueue {
public:
    explicit WorkQueue(DocumentBuffers& buffers) : rows(buffers.PointRows.data()), columns(buffers.PointColumns.data())
    {}
    void Push(int x, int y)
    {
        rows[tail] = static_cast<std::uint16_t>(y);
        columns[tail] = static_cast<std::uint16_t>(x);
        ++tail;
    }
    bool Pop(int& x, int& y)
    {
        if (head == tail)
            return false;
        x = columns[head];
        y = rows[head];
        ++head;
        return true;
    }

private:
    std::uint16_t* rows;
    std::uint16_t* columns;
    std::size_t head = 0, tail = 0;
};

} // namespace krt
