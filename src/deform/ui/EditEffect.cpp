#include "deform/ui/EditEffect.h"

#include "core/Product.h"
#include "core/ui/Controls.h"
#include "core/ui/RadioGroup.h"
#include "core/ui/RunGuarded.h"

#include <QInputDialog>
#include <QMessageBox>
#include <QRegularExpressionValidator>

namespace krt {

TEditEffect::TEditEffect(const Messages& texts, TEffectForm& tryOut, std::function<void(const std::string&)> add,
                         std::function<void()> show, QWidget* parent)
    : QDialog(parent), messages(texts), effectForm(tryOut), addRecord(std::move(add)), showTryOut(std::move(show))
{
    setObjectName("EditEffect");
    setWindowTitle(QString::fromUtf8("Создание деформации"));
    // Wider than the original's 469 pixels: the captions in today's fonts need the room.
    setFixedSize(580, 318);
    AddControl<QLabel>(this, {"Label14", {8, 8, 80, 22}, "Название"});
    edit9 = AddControl<QLineEdit>(this, {"Edit9", {92, 8, 240, 22}});
    BuildConstantRows();
    BuildFormulaBox();

    button1 = new QPushButton(QString::fromUtf8("Добавить"), this);
    button1->setObjectName("Button1");
    button1->setGeometry(8, 288, 120, 24);
    button2 = new QPushButton(QString::fromUtf8("Опробовать "), this);
    button2->setObjectName("Button2");
    button2->setGeometry(136, 288, 120, 24);
    button3 = new QPushButton(QString::fromUtf8("Создать по строке"), this);
    button3->setObjectName("Button3");
    button3->setGeometry(264, 288, 180, 24);
    button5 = new QPushButton(QString::fromUtf8("Отмена"), this);
    button5->setObjectName("Button5");
    button5->setGeometry(452, 288, 120, 24);
    // No default button: Enter in a field must not add a half-written record.
    for (QPushButton* button : {button1, button2, button3, button5})
        button->setAutoDefault(false);
    connect(button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button1Click(); }); });
    connect(button2, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button2Click(); }); });
    connect(button3, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button3Click(); }); });
    connect(button5, &QPushButton::clicked, this, &QDialog::reject);
}

// Six rows, a to f: letter, used box, label and default.
void TEditEffect::BuildConstantRows()
{
    AddControl<QLabel>(this, {"Label1", {8, 40, 80, 20}, "Константа"});
    AddControl<QLabel>(this, {"Label3", {90, 40, 100, 20}, "Используется"});
    AddControl<QLabel>(this, {"Label11", {192, 40, 150, 20}, "Название"});
    AddControl<QLabel>(this, {"Label4", {346, 40, 206, 20}, "Значение по умолчанию"});
    // Up to two digits; an empty box is an untouched one (the default 0). It
    // holds no blanks, so a click anywhere in it leaves room to type.
    auto* twoDigits = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,2}"), this);
    for (int k = 0; k < 6; ++k) {
        const int top = 62 + 24 * k;
        const char letter[2] = {static_cast<char>('a' + k), '\0'};
        AddControl<QLabel>(this, {QString("Label%1").arg(k + 5), {30, top, 20, 22}, letter});
        auto* used = new QCheckBox(this);
        used->setObjectName(QString("CheckBox%1").arg(k + 1));
        used->setGeometry(130, top, 22, 22);
        usedBoxes[static_cast<std::size_t>(k)] = used;
        labelEdits[static_cast<std::size_t>(k)] =
            AddControl<QLineEdit>(this, {QString("Edit%1").arg(k + 1), {192, top, 150, 22}});
        QLineEdit* value = AddControl<QLineEdit>(this, {QString("MaskEdit%1").arg(k + 1), {346, top, 40, 22}});
        value->setMaxLength(2);
        value->setValidator(twoDigits);
        defaultEdits[static_cast<std::size_t>(k)] = value;
    }
}

// The coordinate kind and system, and the two pairs of formulas.
void TEditEffect::BuildFormulaBox()
{
    AddControl<QLabel>(this, {"Label13", {8, 210, 80, 20}, "Формулы"});
    auto* kind = new QGroupBox(QString::fromUtf8("Координат"), this);
    kind->setObjectName("GroupBox2");
    kind->setGeometry(332, 206, 110, 74);
    radioButton3 = new QRadioButton(QString::fromUtf8("Источника"), kind);
    radioButton3->setObjectName("RadioButton3");
    radioButton3->setGeometry(6, 22, 102, 20);
    radioButton3->setChecked(true);
    radioButton4 = new QRadioButton(QString::fromUtf8("Цели"), kind);
    radioButton4->setObjectName("RadioButton4");
    radioButton4->setGeometry(6, 46, 102, 20);
    auto* system = new QGroupBox(QString::fromUtf8("Система координат"), this);
    system->setObjectName("GroupBox1");
    system->setGeometry(448, 206, 124, 74);
    radioButton1 = new QRadioButton(QString::fromUtf8("Декартова"), system);
    radioButton1->setObjectName("RadioButton1");
    radioButton1->setGeometry(6, 22, 98, 20);
    radioButton1->setChecked(true);
    radioButton2 = new QRadioButton(QString::fromUtf8("Полярная"), system);
    radioButton2->setObjectName("RadioButton2");
    radioButton2->setGeometry(6, 46, 98, 20);
    MakeRadioGroup(this, {radioButton3, radioButton4});
    MakeRadioGroup(this, {radioButton1, radioButton2});

    AddControl<QLabel>(this, {"Label2", {8, 232, 24, 22}, "X="});
    edit7 = AddControl<QLineEdit>(this, {"Edit7", {32, 232, 134, 22}, "x"});
    AddControl<QLabel>(this, {"Label12", {8, 258, 24, 22}, "Y="});
    edit8 = AddControl<QLineEdit>(this, {"Edit8", {32, 258, 134, 22}, "y"});
    AddControl<QLabel>(this, {"Label15", {172, 232, 22, 22}, "T="});
    edit10 = AddControl<QLineEdit>(this, {"Edit10", {194, 232, 134, 22}, "t"});
    AddControl<QLabel>(this, {"Label16", {172, 258, 22, 22}, "R="});
    edit11 = AddControl<QLineEdit>(this, {"Edit11", {194, 258, 134, 22}, "r"});
    connect(radioButton1, &QRadioButton::toggled, this, [this] { SystemChanged(); });
    SystemChanged();
}

QLineEdit* TEditEffect::FormulaEdit(char letter) const
{
    switch (letter) {
    case 'x': return edit7;
    case 'y': return edit8;
    case 't': return edit10;
    default: return edit11;
    }
}

// "Декартова" takes X and Y, "Полярная" T and R; the other pair keeps its text.
void TEditEffect::SystemChanged()
{
    const bool cartesian = radioButton1->isChecked();
    edit7->setEnabled(cartesian);
    edit8->setEnabled(cartesian);
    edit10->setEnabled(!cartesian);
    edit11->setEnabled(!cartesian);
}

void TEditEffect::Open(TFastBMP& tryTarget, const TFastBMP& trySource, const Confirm& confirmed)
{
    target = &tryTarget;
    source = &trySource;
    confirm = confirmed;
    exec();
    target = nullptr;
    source = nullptr;
    confirm = nullptr;
}

DeformationEditorFields TEditEffect::Fields() const
{
    DeformationEditorFields f;
    f.name = edit9->text().toStdString();
    for (std::size_t k = 0; k < 6; ++k) {
        f.constants[k].label = labelEdits[k]->text().toStdString();
        f.constants[k].used = usedBoxes[k]->isChecked();
        const QString value = defaultEdits[k]->text().trimmed();
        f.constants[k].defaultText = value.isEmpty() ? "  " : value.toStdString();
    }
    f.cartesian = radioButton1->isChecked();
    f.source = radioButton3->isChecked();
    f.x = edit7->text().toStdString();
    f.y = edit8->text().toStdString();
    f.t = edit10->text().toStdString();
    f.r = edit11->text().toStdString();
    return f;
}

// "Добавить": a name with a bar is only warned about (the record's name ends
// at the bar); the record is added and the editor closes.
void TEditEffect::Button1Click()
{
    if (edit9->text().contains('|'))
        QMessageBox::information(this, QString::fromUtf8(ProductTitle), QString::fromStdString(messages.MsgNameNoBar));
    addRecord(BuildDeformationRecord(Fields()));
    accept();
}

// "Опробовать ": the deformation dialog on the document; what it does shows
// in the document until the editor closes.
void TEditEffect::Button2Click()
{
    if (!target || !source)
        return;
    if (effectForm.ShowDeformation(BuildDeformationRecord(Fields()), *target, *source, confirm))
        showTryOut();
}

// "Создать по строке": a record typed as one line is added unchecked; a
// cancelled input box adds nothing. A record the library refuses is reported
// and the box comes back with what was typed.
void TEditEffect::Button3Click()
{
    QString text = QString::fromStdString(messages.MsgNewByStringDefault);
    for (;;) {
        bool ok = false;
        text =
            QInputDialog::getText(this, QString::fromStdString(messages.MsgNewByStringTitle),
                                  QString::fromStdString(messages.MsgNewByStringPrompt), QLineEdit::Normal, text, &ok);
        if (!ok)
            return;
        bool added = false;
        RunGuarded([&] {
            addRecord(text.toStdString());
            added = true;
        });
        if (added) {
            accept();
            return;
        }
    }
}

} // namespace krt
