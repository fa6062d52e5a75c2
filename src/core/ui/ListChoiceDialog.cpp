#include "core/ui/ListChoiceDialog.h"

#include "core/ui/RunGuarded.h"

namespace krt {

ListChoiceDialog::ListChoiceDialog(const char* objectName, const char* caption, const char* actionText, QSize size,
                                   bool open, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), staysOpen(open)
{
    setObjectName(objectName);
    setWindowTitle(QString::fromUtf8(caption));
    setFixedSize(size);
    comboBox1 = new QComboBox(this);
    comboBox1->setObjectName("ComboBox1");
    comboBox1->setGeometry(4, 2, size.width() - 8, 22);
    const int buttonWidth = (size.width() - 12) / 2;
    button1 = new QPushButton(QString::fromUtf8(actionText), this);
    button1->setObjectName("Button1");
    button1->setDefault(true);
    button1->setGeometry(4, 26, buttonWidth, 22);
    button2 = new QPushButton(QString::fromUtf8("Отмена"), this);
    button2->setObjectName("Button2");
    button2->setGeometry(8 + buttonWidth, 26, buttonWidth, 22);
    connect(button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button1Click(); }); });
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
}

void ListChoiceDialog::Choose(const std::vector<std::string>& names, std::function<void(int index)> act)
{
    action = std::move(act);
    comboBox1->clear();
    for (const std::string& name : names)
        comboBox1->addItem(QString::fromStdString(name));
    comboBox1->setCurrentIndex(names.empty() ? -1 : 0);
    exec();
    action = nullptr;
}

void ListChoiceDialog::Button1Click()
{
    const int index = comboBox1->currentIndex();
    // An empty list has nothing to act on.
    if (index >= 0 && action)
        action(index);
    if (!staysOpen)
        accept();
}

} // namespace krt
