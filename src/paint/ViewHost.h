#pragma once

#include "core/FastBMP.h"

namespace krt {

// What the engine asks of the windows that show the picture: the document
// view and the preview. The main window answers; tests record the calls.
class ViewHost {
public:
    virtual ~ViewHost() = default;
    // Rebuild the view (or the preview) from the image and show it.
    virtual void RedrawView() = 0;
    virtual void RedrawPreview() = 0;
    // Rebuild the preview pixels over an image rectangle and show the preview.
    virtual void UpdatePreview(double x, double y, double w, double h) = 0;
    // Lay the preview out again for the image's size and redraw it, with the
    // selection outline when asked.
    virtual void RelayoutPreview(bool outline) = 0;
    // Show a scratch copy (with a rubber band) in place of the view or preview.
    virtual void ShowViewCopy(const TFastBMP& copy) = 0;
    virtual void ShowPreviewCopy(const TFastBMP& copy) = 0;
    // One step of the selection outline animation, at once.
    virtual void OutlineStep() = 0;
};

} // namespace krt
