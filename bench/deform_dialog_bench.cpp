// The deformation dialog's costs on a photo-like picture: one preview redraw
// as a slider moves (212 x 204 preview), and "OK" in the editor on 6000 x 4000
// (the effect frame, the dialog and the warp on every core, with the redraws
// of view and preview) against the warp alone on the same picture.

#include "BenchImages.h"

#include "app/EffectFrame.h"
#include "deform/DeformationPreview.h"
#include "deform/ui/EffectForm.h"
#include "paint/View.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace krt::bench {
namespace {

const char* const SwirlRecord = "Swirl|Strength1^20^0^0^0^0^0^0^0^0^0^0^01t+a/20*((1-r/(w/2))+abs(1-r/(w/2)))/2|r";

double Fastest(const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); }

void PreviewRedraw(benchmark::State& state)
{
    // 2120 x 2040 fits the surface as 212 x 204.
    const TFastBMP picture = PhotoLikeImage(2120, 2040);
    TFastBMP sourcePreview, targetPreview;
    FitPreview(picture, sourcePreview, targetPreview);
    DeformationParams params = ParseRecord(SwirlRecord).Params();
    int a = 0;
    for (auto _ : state) {
        params.constants[0] = a++ % 101;
        RenderPreview(params, picture.Width, picture.Height, sourcePreview, targetPreview, White);
    }
    state.SetLabel(std::to_string(targetPreview.Width) + " x " + std::to_string(targetPreview.Height));
}

// The windows' part: rebuild what a 1920 x 1080 view and the preview show.
struct Redraws : ViewHost, ToolPalette {
    explicit Redraws(Editor& e) : editor(e) {}
    Editor& editor;
    void RedrawView() override { krt::RedrawView(editor); }
    void RedrawPreview() override { krt::RedrawPreview(editor); }
    void UpdatePreview(double, double, double, double) override {}
    void RelayoutPreview(bool) override {}
    void ShowViewCopy(const TFastBMP&) override {}
    void ShowPreviewCopy(const TFastBMP&) override {}
    void OutlineStep() override {}
    void SelectTool(Tool) override {}
    void ShowMoveTool() override {}
    void RefreshColorPanels() override {}
};

Editor& PhotoEditor()
{
    static Editor editor = [] {
        Editor e(Language::English, DataPaths{});
        e.Image = PhotoLikeImage(6000, 4000);
        e.BuildDocumentBuffers();
        ViewState& v = e.View;
        v.Zoom = 1.0f;
        v.ViewWidth = 1920;
        v.ViewHeight = 1080;
        v.PreviewWidth = 474;
        v.PreviewHeight = 316;
        v.PreviewScale = 474.0f / 6000;
        v.PreviewBuffer.Allocate(v.PreviewWidth, v.PreviewHeight);
        return e;
    }();
    return editor;
}

void OkInTheEditor(benchmark::State& state)
{
    Editor& editor = PhotoEditor();
    Redraws windows(editor);
    EffectFrame frame(editor, windows, windows);
    TEffectForm form(editor.Messages, ColorPair(editor.Settings), Language::English);
    for (auto _ : state) {
        QTimer::singleShot(0, form.OkButton(), [&form] { form.OkButton()->click(); });
        DeformationEffect effect(form, SwirlRecord);
        frame.ApplyEffect(effect);
        editor.UndoCount = 0;
    }
}

void WarpAlone(benchmark::State& state)
{
    Editor& editor = PhotoEditor();
    const DeformationParams params = ParseRecord(SwirlRecord).Params();
    TFastBMP destination(editor.Image.Width, editor.Image.Height);
    for (auto _ : state)
        ApplyDeformation(destination, editor.Image, params, White);
}

BENCHMARK(PreviewRedraw)->Unit(benchmark::kMicrosecond)->ComputeStatistics("min", Fastest);
BENCHMARK(WarpAlone)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2)->ComputeStatistics("min", Fastest);
BENCHMARK(OkInTheEditor)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2)->ComputeStatistics("min", Fastest);

} // namespace
} // namespace krt::bench

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
