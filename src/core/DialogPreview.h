#pragma once

#include "core/FastBMP.h"

namespace krt {

// The preview the filter editor and the gamma, colour-parameter and buttonize
// dialogs share: A holds the target scaled to fit the box, B what the box
// shows (computed from A by the dialog). The box is black around the picture.
class DialogPreview {
public:
    DialogPreview(int width, int height) : boxWidth(width), boxHeight(height) {}

    // Fits the target into the box (at its aspect ratio, centred the other
    // way), fills A from it with its key-colour pixels (the empty cells of a
    // floating block) shown black, and copies A into B. The target itself is
    // left as it is.
    void Prepare(const TFastBMP& target);
    // A copied into B, for the dialog to work on.
    void Reset() { b.CopyFrom(a); }
    // The box as it is shown: black with B at its offset.
    const TFastBMP& Box();

    const TFastBMP& A() const { return a; }
    TFastBMP& B() { return b; }
    float Scale() const { return scale; } // preview pixels per picture pixel
    int OffsetX() const { return offsetX; }
    int OffsetY() const { return offsetY; }

private:
    int boxWidth;
    int boxHeight;
    TFastBMP a;
    TFastBMP b;
    TFastBMP box;
    float scale = 1.0f;
    int offsetX = 0;
    int offsetY = 0;
};

} // namespace krt
