#include "paint/ui/OptForm.h"

#include "core/ui/EnterKey.h"
#include "core/ui/RunGuarded.h"
#include "paint/BrushOptions.h"

#include <QLineEdit>

namespace krt {

TOptForm::TOptForm(EditorSettings& s, QWidget* parent) : QWidget(parent), settings(s)
{
    setObjectName("OptForm");
    setWindowTitle(QString::fromUtf8("Опции и цвет"));
    setFixedSize(320, 41);
    type = AddGroup(0, "Label1", QString::fromUtf8("Тип"), "ComboBox1");
    type->addItems(
        {QString::fromUtf8("Обычный"), "XOR", "AND", QString::fromUtf8("Умножение"), QString::fromUtf8("Фильтр Blur")});
    shape = AddGroup(1, "Label2", QString::fromUtf8("Форма"), "ComboBox4");
    shape->addItems({QString::fromUtf8("Круг"), QString::fromUtf8("Квадрат")});
    size = AddGroup(2, "Label3", QString::fromUtf8("Размер"), "ComboBox3");
    for (const char* item : {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "20", "30"})
        size->addItem(item);
    size->setCurrentText("5");
    transparency = AddGroup(3, "Label4", QString::fromUtf8("Прозрач."), "ComboBox2");
    transparency->setEditable(true);
    transparency->setInsertPolicy(QComboBox::NoInsert);
    for (int t = 0; t <= 100; t += 10)
        transparency->addItem(QString("%1%").arg(t));
    OnEnterReleased(transparency, [this] { RunGuarded([this] { TakeTransparency(); }); });

    connect(type, &QComboBox::currentIndexChanged, this, [this](int index) {
        settings.BrushMode = static_cast<BrushMode>(std::clamp(index, 0, BrushModeCount - 1));
    });
    connect(shape, &QComboBox::currentIndexChanged, this,
            [this](int index) { settings.BrushShape = index == 1 ? BrushShape::Square : BrushShape::Circle; });
    connect(size, &QComboBox::currentTextChanged, this, [this](const QString& text) {
        RunGuarded([&] { settings.BrushSize = ParseBrushSize(text.toStdString()); });
    });
    connect(transparency, &QComboBox::activated, this, [this] { RunGuarded([this] { TakeTransparency(); }); });
}

QComboBox* TOptForm::AddGroup(int column, const char* labelName, const QString& heading, const char* listName)
{
    auto* label = new QLabel(heading, this);
    label->setObjectName(labelName);
    label->setGeometry(column * 80 + 2, 0, 76, 16);
    auto* list = new QComboBox(this);
    list->setObjectName(listName);
    list->setGeometry(column * 80, 17, 78, 23);
    headings[static_cast<std::size_t>(column)] = label;
    return list;
}

void TOptForm::TakeTransparency()
{
    std::string text = transparency->currentText().toStdString();
    const int value = ParseTransparency(text);
    transparency->setCurrentText(QString::fromStdString(text));
    settings.Transparency = value;
    if (onTransparencyChanged)
        onTransparencyChanged();
}

void TOptForm::EnableOptions(unsigned options)
{
    const std::pair<unsigned, QComboBox*> groups[4] = {
        {OptionType, type}, {OptionShape, shape}, {OptionSize, size}, {OptionTransparency, transparency}};
    for (std::size_t k = 0; k < 4; ++k) {
        const bool on = (options & groups[k].first) != 0;
        groups[k].second->setEnabled(on);
        headings[k]->setEnabled(on);
    }
}

} // namespace krt
