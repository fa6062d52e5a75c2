#include "effects/ui/CloudsForm.h"

#include "core/ui/Controls.h"
#include "core/ui/KeyboardSlider.h"
#include "effects/Plasma.h"

#include <ctime>

namespace krt {
namespace {

QScrollBar* Slider(QWidget* parent, const char* name, int maximum, int pageStep, int top)
{
    QScrollBar* bar = NewSlider(parent, name, maximum, pageStep);
    bar->setGeometry(8, top, 200, 17);
    return bar;
}

} // namespace

TClouds::TClouds(ColorPair colorPair, QWidget* parent)
    : EffectDialog("Clouds", "Плазменные облака", QSize(258, 132), std::nullopt, parent),
      seed([] { return static_cast<std::uint32_t>(std::time(nullptr)); }), colors(colorPair)
{
    AddControl<QLabel>(this, {"Label1", {8, 6, 200, 18}, "Прозрачность"});
    scrollBar1 = Slider(this, "ScrollBar1", 100, 10, 26);
    label3 = AddControl<QLabel>(this, {"Label3", {214, 26, 36, 17}, "0"});
    AddControl<QLabel>(this, {"Label2", {8, 50, 200, 18}, "Грубость"});
    scrollBar2 = Slider(this, "ScrollBar2", 50, 5, 70);
    label4 = AddControl<QLabel>(this, {"Label4", {214, 70, 36, 17}, "0"});
    for (QScrollBar* bar : {scrollBar1, scrollBar2})
        connect(bar, &QScrollBar::valueChanged, this, [this] { ShowValues(); });
    PlaceButtons(8, 100);
}

void TClouds::ShowValues()
{
    label3->setText(QString::number(scrollBar1->value()));
    label4->setText(QString::number(scrollBar2->value()));
}

void TClouds::Opening() { ShowValues(); }

void TClouds::Apply(TFastBMP& target, const TFastBMP& source)
{
    GeneratePlasma(target, scrollBar2->value(), seed(), colors.Back(), colors.Fore());
    MixClouds(target, source, scrollBar1->value());
}

} // namespace krt
