#pragma once

#include "app/Clipboard.h"

namespace krt {

// The desktop's clipboard: pictures in and out as images, so that other
// programs paste what we copy and we paste what they copy.
class QtClipboard : public Clipboard {
public:
    bool HasImage() const override;
    bool ReadImage(TFastBMP& into) const override;
    void WriteImage(const TFastBMP& image) override;
};

} // namespace krt
