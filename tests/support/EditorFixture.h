#pragma once

#include "document/Editor.h"

#include <memory>

namespace krt::test {

// An editor whose document is a width x height picture of one colour, with
// its working buffers, shown 1:1 in a view of the picture's size.
inline std::unique_ptr<Editor> NewEditor(int width, int height, PackedColor fill = White)
{
    auto editor = std::make_unique<Editor>(Language::English, DataPaths{});
    editor->Image.Allocate(width, height);
    editor->Image.Fill(fill);
    editor->BuildDocumentBuffers();
    ViewState& v = editor->View;
    v.Zoom = 1.0f;
    v.ViewWidth = width;
    v.ViewHeight = height;
    v.ViewFrameMap.assign(static_cast<std::size_t>(width) * height, 0);
    v.PreviewWidth = width;
    v.PreviewHeight = height;
    v.PreviewScale = 1.0f;
    v.PreviewBuffer.Allocate(width, height);
    v.PreviewFrameMap.assign(static_cast<std::size_t>(width) * height, 0);
    return editor;
}

// Counts the pixels of a colour.
inline int CountPixels(const TFastBMP& image, PackedColor color)
{
    int n = 0;
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x)
            n += image.Pixel(x, y) == color;
    return n;
}

} // namespace krt::test
