#pragma once

#include "document/Editor.h"

namespace krt {

// Where the preview sits in its window's client area (the picture lies one
// pixel inside a frame at left, top).
struct PreviewLayout {
    float scale = 1.0f; // preview pixels per image pixel
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The largest preview of a width x height image that fits a client area of
// clientWidth x clientHeight less the frame, centred the other way.
PreviewLayout LayOutPreview(int clientWidth, int clientHeight, int width, int height);

// Takes a layout into the view state: the preview buffer and outline map are
// sized, the preview rebuilt and, with `outline`, its outline traced.
void ApplyPreviewLayout(Editor& editor, const PreviewLayout& layout, bool outline);

// The client height below which the preview window snaps back to 10.
constexpr int PreviewMinimumHeight = 10;

} // namespace krt
