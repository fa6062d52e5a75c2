#pragma once

#include "core/FastBMP.h"

#include <cstdint>
#include <vector>

namespace krt {

// How the document is shown: the zoomed view in the document window and the
// whole-image preview, with their display buffers and outline maps.
struct ViewState {
    float Zoom = 2.0f; // screen pixels per image pixel
    int ScrollX = 0;   // image point at the view's top-left corner
    int ScrollY = 0;
    int ViewWidth = 0; // the picture control, in screen pixels
    int ViewHeight = 0;
    int FilledColumns = 0; // view columns and rows the last redraw took from the image
    int FilledRows = 0;
    TFastBMP ViewBuffer;
    TFastBMP PreviewBuffer;
    float PreviewScale = 1.0f; // preview pixels per image pixel
    int PreviewWidth = 0;
    int PreviewHeight = 0;
    std::vector<std::uint8_t> ViewFrameMap; // the selection resampled to the view
    std::vector<std::uint8_t> PreviewFrameMap;
    int ViewFrameCount = 0; // outline points in the frame lists
    int PreviewFrameCount = 0;
    // The gradient tool shows its rubber band on copies of the two display
    // buffers; while it does, the outline is drawn over those copies.
    bool GradientFeedback = false;
    TFastBMP RubberViewBuffer;
    TFastBMP RubberPreviewBuffer;
};

} // namespace krt
