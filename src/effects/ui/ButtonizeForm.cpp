#include "effects/ui/ButtonizeForm.h"

#include "core/ui/KeyboardSlider.h"
#include "core/ui/RadioGroup.h"
#include "core/ui/RunGuarded.h"
#include "effects/Buttonize.h"

namespace krt {

TButtonize::TButtonize(QWidget* parent)
    : EffectDialog("Buttonize", "Стилизация \"под кнопку\"", QSize(330, 186),
                   PreviewPlace{"Image1", QRect(185, 8, 137, 137)}, parent)
{
    groupBox1 = new QGroupBox(QString::fromUtf8("Тип кнопки"), this);
    groupBox1->setObjectName("GroupBox1");
    groupBox1->setGeometry(8, 4, 170, 70);
    radioButton1 = new QRadioButton(QString::fromUtf8("Нажатая"), groupBox1);
    radioButton1->setObjectName("RadioButton1");
    radioButton1->setGeometry(10, 20, 150, 20);
    radioButton1->setChecked(true);
    radioButton2 = new QRadioButton(QString::fromUtf8("Не нажатая"), groupBox1);
    radioButton2->setObjectName("RadioButton2");
    radioButton2->setGeometry(10, 44, 150, 20);
    MakeRadioGroup(this, {radioButton1, radioButton2});
    label3 = new QLabel(QString::fromUtf8("Глубина"), this);
    label3->setObjectName("Label3");
    label3->setGeometry(8, 84, 170, 18);
    scrollBar3 = NewSlider(this, "ScrollBar3", 100, 10);
    scrollBar3->setGeometry(8, 104, 170, 17);
    connect(scrollBar3, &QScrollBar::valueChanged, this, [this](int value) {
        depth = value;
        RunGuarded([this] { RedrawPreview(); });
    });
    for (QRadioButton* radio : {radioButton1, radioButton2})
        connect(radio, &QRadioButton::clicked, this, [this] { RunGuarded([this] { RedrawPreview(); }); });
    PlaceButtons(8, 153);
}

// The preview shows as many rings as the depth makes at the preview's scale.
void TButtonize::DrawPreview(DialogPreview& preview)
{
    const BevelColors colors = ButtonColors(radioButton1->isChecked());
    Bevel(preview.B(), static_cast<int>(static_cast<float>(depth) * preview.Scale()), colors.topLeft,
          colors.bottomRight);
}

void TButtonize::Apply(TFastBMP& target, const TFastBMP&)
{
    const BevelColors colors = ButtonColors(radioButton1->isChecked());
    Bevel(target, depth, colors.topLeft, colors.bottomRight);
}

} // namespace krt
