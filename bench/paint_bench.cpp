// Painting on a 6000 x 4000 picture: one mouse step of a brush stroke (the
// segment, the 1920 x 1080 view rebuilt, the preview's dirty rectangle), the
// start of a stroke (backup and undo snapshot), a flood fill of the whole
// picture and a colour replacement over it.

#include "BenchImages.h"

#include "document/Editor.h"
#include "document/Undo.h"
#include "paint/ColorPanels.h"
#include "paint/Fills.h"
#include "paint/Stroke.h"
#include "paint/ToolEngine.h"
#include "paint/View.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace krt::bench {
namespace {

constexpr int Width = 6000;
constexpr int Height = 4000;

Editor& SharedEditor()
{
    static Editor editor = [] {
        Editor e(Language::English, DataPaths{});
        e.Image = PhotoLikeImage(Width, Height);
        e.BuildDocumentBuffers();
        ViewState& v = e.View;
        v.Zoom = 1.0f;
        v.ViewWidth = 1920;
        v.ViewHeight = 1080;
        v.PreviewWidth = 474;
        v.PreviewHeight = 316;
        v.PreviewScale = 474.0f / Width;
        v.PreviewBuffer.Allocate(v.PreviewWidth, v.PreviewHeight);
        return e;
    }();
    return editor;
}

// The windows' part of a mouse step: rebuild what would be shown.
struct RedrawingHost : ViewHost, ToolPalette, ToolHost {
    explicit RedrawingHost(Editor& e) : editor(e) {}
    Editor& editor;
    void RedrawView() override { krt::RedrawView(editor); }
    void RedrawPreview() override { krt::RedrawPreview(editor); }
    void UpdatePreview(double x, double y, double w, double h) override { UpdatePreviewRect(editor, x, y, w, h); }
    void RelayoutPreview(bool) override {}
    void ShowViewCopy(const TFastBMP&) override {}
    void ShowPreviewCopy(const TFastBMP&) override {}
    void RefreshColorPanels() override {}
    void SetViewCaption(const std::string&) override {}
    ScreenPoint PointerPosition() override { return {0, 0}; }
    void MovePointer(ScreenPoint) override {}
    void OpenTextDialog() override {}
    void OutlineStep() override {}
    void SelectTool(Tool) override {}
    void ShowMoveTool() override {}
};

// A circle of 100 mouse steps, 8 to 9 pixels apart, in the middle of the view.
std::pair<int, int> StrokePoint(int step)
{
    const double angle = step * 2 * 3.14159265358979 / 100;
    return {960 + static_cast<int>(130 * std::cos(angle)), 540 + static_cast<int>(130 * std::sin(angle))};
}

// One mouse step of the brush at size 30 with a soft rim, as the tool runs it.
void BrushStrokeStep(benchmark::State& state)
{
    Editor& editor = SharedEditor();
    editor.Settings.CurrentTool = Tool::Brush;
    editor.Settings.BrushSize = 30;
    editor.Settings.Transparency = static_cast<int>(state.range(0));
    RedrawingHost host(editor);
    ToolEngine tools(editor, host, host, host);
    const auto [x0, y0] = StrokePoint(0);
    tools.OnPress(0, x0, y0);
    int step = 1;
    for (auto _ : state) {
        const auto [x, y] = StrokePoint(step);
        tools.OnMove(ModLeftButton, x, y);
        if (++step == 101) {
            state.PauseTiming();
            tools.OnRelease(0, x, y);
            tools.OnPress(0, x0, y0);
            step = 1;
            state.ResumeTiming();
        }
    }
    tools.OnRelease(0, x0, y0);
}

// The painting alone in a step: one segment of the size-30 brush.
void BrushSegmentOnly(benchmark::State& state)
{
    Editor& editor = SharedEditor();
    editor.Settings.CurrentTool = Tool::Brush;
    editor.Settings.BrushSize = 30;
    ClearPaintMap(editor);
    int step = 0;
    for (auto _ : state) {
        const auto [px, py] = StrokePoint(step);
        const auto [x, y] = StrokePoint(step + 1);
        PaintSegment(editor, x + 2000, y + 1000, px + 2000, py + 1000);
        step = (step + 1) % 100;
    }
}

// What a press costs before the first dab: the backup and the undo snapshot.
void StrokeStart(benchmark::State& state)
{
    Editor& editor = SharedEditor();
    editor.Settings.CurrentTool = Tool::Brush;
    for (auto _ : state) {
        SaveBackup(editor);
        PushUndo(editor);
    }
    editor.UndoCount = 0;
}

// Tool 5 on a one-colour picture: the region is all 24 megapixels.
void FloodFillWholePicture(benchmark::State& state)
{
    Editor e(Language::English, DataPaths{});
    e.Image.Allocate(Width, Height);
    e.Image.Fill(White);
    e.BuildDocumentBuffers();
    bool black = true;
    for (auto _ : state) {
        e.Settings.ForeColor = black ? Black : White;
        FillSameColor(e, 3000, 2000);
        black = !black;
    }
    state.counters["MP/s"] = benchmark::Counter(Width * Height / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

// Tool 7 over the whole photo; range(0) = 1 with the red channel posterised.
void ReplaceColorWholePicture(benchmark::State& state)
{
    Editor& editor = SharedEditor();
    if (state.range(0))
        SetPosterize(editor.Settings, 64, 1, 1);
    editor.Settings.BackColor = editor.Image.Pixel(100, 100);
    for (auto _ : state)
        ReplaceColorEverywhere(editor, 100, 100);
    editor.Settings.PosterizeR = editor.Settings.PosterizeG = editor.Settings.PosterizeB = IdentityPosterizeTable();
    state.counters["MP/s"] = benchmark::Counter(Width * Height / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BrushStrokeStep)->Arg(0)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BrushSegmentOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(StrokeStart)->Unit(benchmark::kMillisecond);
BENCHMARK(FloodFillWholePicture)->Unit(benchmark::kMillisecond);
BENCHMARK(ReplaceColorWholePicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace krt::bench
