#include "app/ui/SizeDialogs.h"

#include "app/FileCommands.h"
#include "core/ui/RunGuarded.h"

namespace krt {

SizeDialog::SizeDialog(SizeDialogResults& r, int top, QWidget* parent) : QDialog(parent), results(r)
{
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    widthLabel = new QLabel(QString::fromUtf8("Ширина"), this);
    widthLabel->setObjectName("Label1");
    widthLabel->setGeometry(0, top, 64, 24);
    heightLabel = new QLabel(QString::fromUtf8("Высота"), this);
    heightLabel->setObjectName("Label2");
    heightLabel->setGeometry(0, top + 24, 64, 24);
    widthEdit = new QLineEdit(this);
    widthEdit->setObjectName("Edit1");
    widthEdit->setGeometry(64, top, 121, 24);
    heightEdit = new QLineEdit(this);
    heightEdit->setObjectName("Edit2");
    heightEdit->setGeometry(64, top + 24, 121, 24);
    confirm = new QPushButton(this);
    confirm->setObjectName("Button1");
    cancel = new QPushButton(QString::fromUtf8("Отмена"), this);
    cancel->setObjectName("Button2");
    // Enter confirms only in the height box, never through a default button.
    for (QPushButton* button : {confirm, cancel}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(confirm, &QPushButton::clicked, this, [this] { RunGuarded([this] { Confirm(); }); });
    connect(heightEdit, &QLineEdit::returnPressed, this, [this] { RunGuarded([this] { Confirm(); }); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool SizeDialog::Ask()
{
    results.cancelled = true;
    exec();
    return !results.cancelled;
}

void SizeDialog::Confirm()
{
    results.newWidth = ParseSizeText(widthEdit->text().toStdString());
    results.newHeight = ParseSizeText(heightEdit->text().toStdString());
    CheckImageSize(results.newWidth, results.newHeight);
    results.cancelled = false;
    TakeExtras();
    accept();
}

TNewImage::TNewImage(SizeDialogResults& r, QWidget* parent) : SizeDialog(r, 0, parent)
{
    setObjectName("NewImage");
    setWindowTitle(QString::fromUtf8("Создать новый рисунок"));
    setFixedSize(267, 49);
    confirm->setText(QString::fromUtf8("Создать"));
    confirm->setGeometry(192, 0, 75, 25);
    cancel->setGeometry(192, 25, 75, 24);
}

TImgResize::TImgResize(SizeDialogResults& r, QWidget* parent) : SizeDialog(r, 24, parent)
{
    setObjectName("ImgResize");
    setWindowTitle(QString::fromUtf8("Изменение размеров "));
    setFixedSize(273, 73);
    changePicture = new QCheckBox(QString::fromUtf8("Изменение рисунка"), this);
    changePicture->setObjectName("CheckBox2");
    changePicture->setGeometry(0, 0, 153, 22);
    changePicture->setChecked(true);
    smoothing = new QCheckBox(QString::fromUtf8("Сглаживание"), this);
    smoothing->setObjectName("CheckBox1");
    smoothing->setGeometry(160, 0, 113, 22);
    connect(changePicture, &QCheckBox::toggled, smoothing, &QCheckBox::setEnabled);
    confirm->setText(QString::fromUtf8("Изменить"));
    confirm->setGeometry(198, 24, 75, 25);
    cancel->setGeometry(198, 49, 75, 24);
}

bool TImgResize::Ask(int width, int height)
{
    widthEdit->setText(QString::number(width));
    heightEdit->setText(QString::number(height));
    return SizeDialog::Ask();
}

void TImgResize::TakeExtras()
{
    results.smoothing = smoothing->isChecked();
    results.changePicture = changePicture->isChecked();
}

} // namespace krt
