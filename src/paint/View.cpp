#include "paint/View.h"

#include "core/Integer.h"
#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "core/ScaledBlit.h"

#include <algorithm>
#include <cmath>

namespace krt {
namespace {

constexpr OwnMessage ZoomTooSmall{"The zoom must be at least 1 %.", "Масштаб должен быть не меньше 1 %."};

} // namespace
namespace {

// The image columns (rows) a view of `viewSize` screen pixels shows; at least
// one, so a view smaller than one zoomed pixel still has a step.
int SourceSpan(int viewSize, float zoom) { return std::max(1, static_cast<int>(static_cast<double>(viewSize) / zoom)); }

// Nearest-neighbour resampling of the selection mask with the view's
// fixed-point steps. Cells whose source lies left of or above the mask (a
// selection moved partly off the image) are left clear.
void ResampleMask(const std::vector<std::uint8_t>& mask, int maskW, int maskH, int x, int y, int w, int h,
                  std::vector<std::uint8_t>& map, int dw, int dh)
{
    map.assign(static_cast<std::size_t>(dw) * dh, 0);
    if (dw <= 0 || dh <= 0 || w <= 0 || h <= 0 || mask.size() < static_cast<std::size_t>(maskW) * maskH)
        return;
    const std::int64_t stepX = std::max<std::int64_t>(1, std::int64_t{w} * 4096 / dw);
    const std::int64_t stepY = std::max<std::int64_t>(1, std::int64_t{h} * 4096 / dh);
    for (int i = 0; i < dh; ++i) {
        const std::int64_t sy = (std::int64_t{y} * 4096 + i * stepY) >> 12;
        if (sy < 0 || sy >= maskH || sy >= std::int64_t{y} + h)
            continue;
        const std::uint8_t* row = &mask[static_cast<std::size_t>(sy) * maskW];
        std::uint8_t* out = &map[static_cast<std::size_t>(i) * dw];
        for (int j = 0; j < dw; ++j) {
            const std::int64_t sx = (std::int64_t{x} * 4096 + j * stepX) >> 12;
            if (sx >= 0 && sx < maskW && sx < std::int64_t{x} + w)
                out[j] = row[sx];
        }
    }
}

} // namespace

ImagePoint ViewToImage(const ViewState& view, double x, double y)
{
    return {static_cast<int>(std::trunc(view.ScrollX + x / view.Zoom)),
            static_cast<int>(std::trunc(view.ScrollY + y / view.Zoom))};
}

ImagePoint ClampViewPoint(const ViewState& view, int imageWidth, int imageHeight, double x, double y)
{
    const double maxX = std::min<double>(view.ViewWidth - 1, (imageWidth - view.ScrollX - 1) * double{view.Zoom});
    const double maxY = std::min<double>(view.ViewHeight - 1, (imageHeight - view.ScrollY - 1) * double{view.Zoom});
    return {static_cast<int>(std::trunc(std::max(0.0, std::min(x, maxX)))),
            static_cast<int>(std::trunc(std::max(0.0, std::min(y, maxY))))};
}

void ApplyPosterize(TFastBMP& buffer, int columns, int rows, const EditorSettings& s)
{
    // The tables of start-up change nothing: no pass over the pixels then.
    static const PosterizeTable identity = IdentityPosterizeTable();
    if (s.PosterizeR == identity && s.PosterizeG == identity && s.PosterizeB == identity)
        return;
    columns = std::min(columns, buffer.Width);
    rows = std::min(rows, buffer.Height);
    for (int y = 0; y < rows; ++y) {
        std::uint8_t* p = buffer.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < columns; ++x, p += 3) {
            p[0] = s.PosterizeB[p[0]];
            p[1] = s.PosterizeG[p[1]];
            p[2] = s.PosterizeR[p[2]];
        }
    }
}

void RedrawView(Editor& editor)
{
    ViewState& v = editor.View;
    v.ViewBuffer.Allocate(std::max(v.ViewWidth, 0), std::max(v.ViewHeight, 0));
    const BlitExtent filled =
        ScaledBlit(editor.Image, v.ViewBuffer, v.ScrollX, v.ScrollY, SourceSpan(v.ViewWidth, v.Zoom),
                   SourceSpan(v.ViewHeight, v.Zoom), v.ViewWidth, v.ViewHeight);
    v.FilledColumns = filled.columns;
    v.FilledRows = filled.rows;
    ApplyPosterize(v.ViewBuffer, v.FilledColumns, v.FilledRows, editor.Settings);
    BuildViewOutline(editor);
}

void RedrawPreview(Editor& editor)
{
    ViewState& v = editor.View;
    v.PreviewBuffer.Allocate(std::max(v.PreviewWidth, 0), std::max(v.PreviewHeight, 0));
    ScaledBlit(editor.Image, v.PreviewBuffer, 0, 0, editor.Image.Width, editor.Image.Height, v.PreviewWidth,
               v.PreviewHeight);
    ApplyPosterize(v.PreviewBuffer, v.PreviewWidth, v.PreviewHeight, editor.Settings);
}

void UpdatePreviewRect(Editor& editor, double x, double y, double w, double h)
{
    ViewState& v = editor.View;
    const TFastBMP& image = editor.Image;
    if (v.PreviewWidth <= 0 || v.PreviewHeight <= 0 || image.Empty())
        return;
    x = std::max(0.0, x);
    y = std::max(0.0, y);
    if (image.Height <= y + h)
        h = image.Height - y;
    if (image.Width <= x + w)
        w = image.Width - x;
    const std::int64_t stepX = std::max<std::int64_t>(1, std::int64_t{image.Width} * 4096 / v.PreviewWidth);
    const std::int64_t stepY = std::max<std::int64_t>(1, std::int64_t{image.Height} * 4096 / v.PreviewHeight);
    auto span = [](double from, double length, std::int64_t step, int limit) {
        const int first = static_cast<int>(std::clamp<double>(std::trunc(from * 4096 / step), 0, limit));
        // Rounded up: a preview pixel whose source lies just before the end counts.
        const int last = static_cast<int>(std::clamp<double>(std::ceil((from + length) * 4096 / step), 0, limit));
        return std::pair{first, last};
    };
    // The same source rule as the full rebuild, so the pixels are the same.
    const auto [row0, row1] = span(y, h, stepY, v.PreviewHeight);
    const auto [col0, col1] = span(x, w, stepX, v.PreviewWidth);
    const std::int64_t filledCols = std::min<std::int64_t>(std::int64_t{image.Width} * 4096 / stepX, v.PreviewWidth);
    const std::int64_t filledRows = std::min<std::int64_t>(std::int64_t{image.Height} * 4096 / stepY, v.PreviewHeight);
    const EditorSettings& s = editor.Settings;
    for (int i = row0; i < std::min<std::int64_t>(row1, filledRows); ++i) {
        const std::uint8_t* src = image.RowTable[static_cast<std::size_t>((i * stepY) >> 12)];
        std::uint8_t* d = v.PreviewBuffer.RowTable[static_cast<std::size_t>(i)] + 3 * col0;
        for (int j = col0; j < std::min<std::int64_t>(col1, filledCols); ++j, d += 3) {
            const std::uint8_t* p = src + 3 * ((j * stepX) >> 12);
            d[0] = s.PosterizeB[p[0]];
            d[1] = s.PosterizeG[p[1]];
            d[2] = s.PosterizeR[p[2]];
        }
    }
}

void SetZoomFromText(ViewState& view, std::string& text)
{
    if (text.empty() || text.back() != '%')
        text += '%';
    const std::string number = text.substr(0, text.size() - 1);
    const int percent = ParseInteger(number);
    if (percent < 1)
        throw KrtError(Say(ZoomTooSmall));
    view.Zoom = static_cast<float>(percent * 0.01); // computed in double, stored in single precision
}

int TraceOutline(const std::uint8_t* map, int w, int h, std::uint16_t* rows, std::uint16_t* columns, int capacity)
{
    if (w <= 0 || h <= 0)
        return 0;
    capacity = std::min(capacity, MaxOutlinePoints);
    std::vector<std::uint8_t> visited(static_cast<std::size_t>(w) * h, 0);
    auto set = [&](int x, int y) { return map[static_cast<std::size_t>(y) * w + x] != 0; };
    auto border = [&](int x, int y) { return x == 0 || y == 0 || x == w - 1 || y == h - 1; };
    // A non-border cell with a clear 4-neighbour (border cells are handled by the caller).
    auto edge = [&](int x, int y) { return !set(x - 1, y) || !set(x + 1, y) || !set(x, y - 1) || !set(x, y + 1); };
    int count = 0;
    auto append = [&](int x, int y) {
        rows[count] = static_cast<std::uint16_t>(y);
        columns[count] = static_cast<std::uint16_t>(x);
        visited[static_cast<std::size_t>(y) * w + x] = 1;
        return ++count < capacity;
    };
    for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y) {
            if (!set(x, y))
                continue;
            const bool starts = border(x, y) || (!visited[static_cast<std::size_t>(y) * w + x] && edge(x, y));
            if (!starts)
                continue;
            // Follow the chain right or down while a fitting cell continues it.
            int cx = x, cy = y;
            if (!append(cx, cy))
                return count;
            for (;;) {
                auto fits = [&](int nx, int ny) {
                    return nx < w && ny < h && !visited[static_cast<std::size_t>(ny) * w + nx] && set(nx, ny) &&
                           !border(nx, ny) && edge(nx, ny);
                };
                if (fits(cx + 1, cy))
                    ++cx;
                else if (fits(cx, cy + 1))
                    ++cy;
                else
                    break;
                if (!append(cx, cy))
                    return count;
            }
        }
    return count;
}

void BuildViewOutline(Editor& editor)
{
    ViewState& v = editor.View;
    if (!editor.Selection.HasSelection())
        return;
    ResampleMask(editor.Selection.SelectionMask, editor.Image.Width, editor.Image.Height,
                 v.ScrollX - editor.Selection.SelectionOffsetX, v.ScrollY - editor.Selection.SelectionOffsetY,
                 SourceSpan(v.ViewWidth, v.Zoom), SourceSpan(v.ViewHeight, v.Zoom), v.ViewFrameMap, v.ViewWidth,
                 v.ViewHeight);
    v.ViewFrameCount =
        TraceOutline(v.ViewFrameMap.data(), v.ViewWidth, v.ViewHeight, editor.Buffers.ViewFrameRows.data(),
                     editor.Buffers.ViewFrameColumns.data(), static_cast<int>(editor.Buffers.ViewFrameRows.size()));
}

void BuildPreviewOutline(Editor& editor)
{
    ViewState& v = editor.View;
    if (!editor.Selection.HasSelection())
        return;
    ResampleMask(editor.Selection.SelectionMask, editor.Image.Width, editor.Image.Height,
                 -editor.Selection.SelectionOffsetX, -editor.Selection.SelectionOffsetY, editor.Image.Width,
                 editor.Image.Height, v.PreviewFrameMap, v.PreviewWidth, v.PreviewHeight);
    v.PreviewFrameCount = TraceOutline(
        v.PreviewFrameMap.data(), v.PreviewWidth, v.PreviewHeight, editor.Buffers.PreviewFrameRows.data(),
        editor.Buffers.PreviewFrameColumns.data(), static_cast<int>(editor.Buffers.PreviewFrameRows.size()));
}

} // namespace krt
