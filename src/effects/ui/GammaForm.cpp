#include "effects/ui/GammaForm.h"

#include "core/ui/RunGuarded.h"

#include <QFrame>
#include <QMouseEvent>

#include <cmath>

namespace krt {
namespace {

// The curves' colours: red, a darker green, blue.
constexpr std::array<PackedColor, 3> CurveColors{PackRGB(255, 0, 0), PackRGB(0, 128, 0), PackRGB(0, 0, 255)};

} // namespace

TGammaForm::TGammaForm(QWidget* parent)
    : EffectDialog("GammaForm", "Гамма коррекция", QSize(306, 252), PreviewPlace{"Image4", QRect(82, 8, 216, 207)},
                   parent)
{
    for (int channel = 0; channel < 3; ++channel) {
        auto* bevel = new QFrame(this);
        bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
        bevel->setGeometry(7, 7 + 70 * channel, 66, 66);
        auto* graph = new BufferView(this);
        graph->setObjectName(QString("Image%1").arg(channel + 1));
        graph->setGeometry(8, 8 + 70 * channel, 64, 64);
        graph->setCursor(Qt::CrossCursor);
        // A press does what a drag to the same point does.
        graph->onPress = [this, channel](QMouseEvent* event) { GraphMouse(channel, event); };
        graph->onMove = graph->onPress;
        graphs[static_cast<std::size_t>(channel)] = graph;
    }
    PlaceButtons(82, 221);
}

void TGammaForm::Opening() { gamma = GammaCurves(); }

void TGammaForm::GraphMouse(int channel, QMouseEvent* event)
{
    RunGuarded([&] {
        const int x = static_cast<int>(std::floor(event->position().x()));
        const int y = static_cast<int>(std::floor(event->position().y()));
        if (const auto curve = CurveFromGraph(x, y, event->buttons() & Qt::LeftButton)) {
            gamma.curves[static_cast<std::size_t>(channel)] = *curve;
            RedrawPreview();
        }
    });
}

// After every change: the tables, the three graphs and the preview.
void TGammaForm::DrawPreview(DialogPreview& preview)
{
    gamma.Recompute();
    for (std::size_t channel = 0; channel < 3; ++channel) {
        DrawGammaGraph(graphBuffers[channel], gamma.curves[channel], CurveColors[channel]);
        graphs[channel]->Show(graphBuffers[channel]);
    }
    ApplyGamma(preview.B(), preview.A(), gamma);
}

void TGammaForm::Apply(TFastBMP& target, const TFastBMP& source) { ApplyGamma(target, source, gamma); }

} // namespace krt
