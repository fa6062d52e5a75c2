#pragma once

#include "document/Editor.h"

#include <string>

namespace krt {

struct ImagePoint {
    int x;
    int y;
};

// The image point under a window point of the view.
ImagePoint ViewToImage(const ViewState& view, double x, double y);
// A window point kept on the image: clamped to the view and to the image's
// last column and row, then truncated (used while dragging).
ImagePoint ClampViewPoint(const ViewState& view, int imageWidth, int imageHeight, double x, double y);

// Maps each channel of the first columns x rows pixels through the tables.
void ApplyPosterize(TFastBMP& buffer, int columns, int rows, const EditorSettings& settings);

// Rebuilds the view buffer from the image at the zoom and scroll position,
// posterises the part that shows the image (never the grey margin) and traces
// the view outline.
void RedrawView(Editor& editor);
// Rebuilds the whole preview buffer.
void RedrawPreview(Editor& editor);
// Rebuilds only the preview pixels covering the image rectangle, giving
// exactly the pixels a full rebuild would.
void UpdatePreviewRect(Editor& editor, double x, double y, double w, double h);

// The zoom box: appends "%" to `text` when it lacks one and sets the zoom to
// the integer before it. Throws KrtError (zoom unchanged) for text that is not
// an integer percentage, or for 0 % and less.
void SetZoomFromText(ViewState& view, std::string& text);

// Resample the selection mask to the view or the preview and trace its outline
// into the frame lists (only while a selection exists).
void BuildViewOutline(Editor& editor);
void BuildPreviewOutline(Editor& editor);

// Traces the outline of the set cells of a w x h map into parallel row and
// column lists; returns the number of points, at most `capacity`.
int TraceOutline(const std::uint8_t* map, int w, int h, std::uint16_t* rows, std::uint16_t* columns, int capacity);

// A usable outline has at most this many points (its count is 16-bit).
constexpr int MaxOutlinePoints = 65535;

} // namespace krt
