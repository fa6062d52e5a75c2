#pragma once

#include "core/FastBMP.h"

namespace krt {

// The system clipboard's picture. The editor uses the desktop's clipboard;
// tests keep the picture in memory.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool HasImage() const = 0;
    // The clipboard's picture; false (and `into` untouched) when it holds none.
    virtual bool ReadImage(TFastBMP& into) const = 0;
    virtual void WriteImage(const TFastBMP& image) = 0;
};

} // namespace krt
