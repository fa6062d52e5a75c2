#include "app/PreviewLayout.h"

#include "paint/View.h"

#include <algorithm>

namespace krt {

PreviewLayout LayOutPreview(int cw, int ch, int width, int height)
{
    PreviewLayout l;
    if (width <= 0 || height <= 0)
        return l;
    const int fw = static_cast<int>(static_cast<double>(ch - 2) / height * width);
    const int fh = static_cast<int>(static_cast<double>(cw - 2) / width * height);
    if (cw - 2 < fw) { // fits the width
        l.scale = static_cast<float>(fh) / static_cast<float>(height);
        l.top = (ch - fh) / 2;
        l.width = cw - 2;
        l.height = fh;
    } else {
        l.scale = static_cast<float>(fw) / static_cast<float>(width);
        l.left = (cw - fw) / 2;
        l.width = fw;
        l.height = ch - 2;
    }
    l.width = std::max(l.width, 0);
    l.height = std::max(l.height, 0);
    return l;
}

void ApplyPreviewLayout(Editor& editor, const PreviewLayout& layout, bool outline)
{
    ViewState& v = editor.View;
    v.PreviewScale = layout.scale;
    v.PreviewWidth = layout.width;
    v.PreviewHeight = layout.height;
    v.PreviewFrameMap.assign(static_cast<std::size_t>(layout.width) * layout.height, 0);
    RedrawPreview(editor);
    if (outline)
        BuildPreviewOutline(editor);
}

} // namespace krt
