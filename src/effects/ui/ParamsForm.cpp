#include "effects/ui/ParamsForm.h"

#include "core/ui/KeyboardSlider.h"
#include "core/ui/RunGuarded.h"
#include "effects/ColorParams.h"

namespace krt {

TParamsForm::TParamsForm(QWidget* parent)
    : EffectDialog("ParamsForm", "Параметры цветов", QSize(330, 186), PreviewPlace{"Image1", QRect(185, 8, 137, 137)},
                   parent)
{
    const char* captions[] = {"Насыщенность", "Светлость", "Контрастность"};
    const int starts[] = {255, 0, 0};
    for (std::size_t k = 0; k < 3; ++k) {
        const int top = 8 + 46 * static_cast<int>(k);
        auto* label = new QLabel(QString::fromUtf8(captions[k]), this);
        label->setObjectName(QString("Label%1").arg(k + 1));
        label->setGeometry(8, top, 170, 18);
        auto* bar = NewSlider(this, qPrintable(QString("ScrollBar%1").arg(k + 1)), 255, 16);
        bar->setValue(starts[k]);
        bar->setGeometry(8, top + 20, 170, 17);
        connect(bar, &QScrollBar::valueChanged, this, [this] { RunGuarded([this] { RedrawPreview(); }); });
        labels[k] = label;
        scrollBars[k] = bar;
    }
    PlaceButtons(8, 153);
}

void TParamsForm::DrawPreview(DialogPreview& preview)
{
    ApplyColorParams(preview.B(), scrollBars[0]->value(), scrollBars[1]->value(), scrollBars[2]->value());
}

void TParamsForm::Apply(TFastBMP& target, const TFastBMP&)
{
    ApplyColorParams(target, scrollBars[0]->value(), scrollBars[1]->value(), scrollBars[2]->value());
}

} // namespace krt
