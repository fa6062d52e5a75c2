#include "effects/ui/FilterForm.h"

#include "core/Product.h"
#include "core/ui/RunGuarded.h"
#include "effects/Convolution.h"
#include "effects/FilterLibrary.h"

#include <QFrame>
#include <QMessageBox>

namespace krt {
namespace {

// Which weight each cell of the grid holds, row by row from the top left.
constexpr int GridWeights[3][3] = {{1, 2, 3}, {6, 5, 4}, {9, 8, 7}};

} // namespace

TFilterForm::TFilterForm(const Messages& texts, std::function<void(const std::string&)> add, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), messages(texts),
      addRecord(std::move(add))
{
    setObjectName("FilterForm");
    setWindowTitle(QString::fromUtf8("Создание фильтра"));
    setFixedSize(420, 212);
    label1 = new QLabel(QString::fromUtf8("Название фильтра"), this);
    label1->setObjectName("Label1");
    label1->setGeometry(8, 6, 212, 18);
    editName = new QLineEdit(this);
    editName->setObjectName("EditName");
    editName->setGeometry(8, 26, 212, 24);

    groupBox1 = new QGroupBox(QString::fromUtf8("Матрица"), this);
    groupBox1->setObjectName("GroupBox1");
    groupBox1->setGeometry(8, 56, 212, 112);
    QWidget* previous = editName;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const int k = GridWeights[row][column];
            auto* edit = new QLineEdit(groupBox1);
            edit->setObjectName(QString("Edit%1").arg(k));
            edit->setGeometry(8 + 44 * column, 22 + 29 * row, 40, 24);
            edits[static_cast<std::size_t>(k - 1)] = edit;
            // Tab runs over the screen positions, left to right, top to bottom.
            setTabOrder(previous, edit);
            previous = edit;
            if (row == 1 && column == 2) {
                label2 = new QLabel(QString::fromUtf8("Делитель"), groupBox1);
                label2->setObjectName("Label2");
                label2->setGeometry(142, 4 + 29 * row, 64, 18);
                auto* divisor = new QLineEdit(groupBox1);
                divisor->setObjectName("Edit10");
                divisor->setGeometry(142, 22 + 29 * row, 60, 24);
                edits[9] = divisor;
                setTabOrder(previous, divisor);
                previous = divisor;
            }
        }

    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(227, 7, 187, 192);
    image1 = new BufferView(this);
    image1->setObjectName("Image1");
    image1->setGeometry(228, 8, 185, 190);

    button1 = new QPushButton(QString::fromUtf8("Добавить"), this);
    button1->setObjectName("Button1");
    button1->setGeometry(8, 178, 68, 25);
    button2 = new QPushButton(QString::fromUtf8("Отмена"), this);
    button2->setObjectName("Button2");
    button2->setGeometry(80, 178, 68, 25);
    button3 = new QPushButton("Preview", this);
    button3->setObjectName("Button3");
    button3->setGeometry(152, 178, 68, 25);
    setTabOrder(previous, button1);
    setTabOrder(button1, button2);
    setTabOrder(button2, button3);
    connect(button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button1Click(); }); });
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(button3, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button3Click(); }); });
}

void TFilterForm::Open(const TFastBMP& picture)
{
    preview.Prepare(picture);
    image1->Show(preview.Box());
    exec();
}

std::string TFilterForm::Record() const
{
    std::array<std::string, 9> weights;
    for (std::size_t k = 0; k < 9; ++k)
        weights[k] = CheckWeightText(edits[k]->text().toStdString());
    return BuildFilterRecord(editName->text().toStdString(), weights,
                             CheckDivisorText(edits[9]->text().toStdString()));
}

// "Добавить": a "|" in the name would make the record's numbers unreadable,
// so such a name is refused and the editor stays open with what was typed;
// so does a library that cannot take the record (the message says why).
void TFilterForm::Button1Click()
{
    if (editName->text().contains('|')) {
        QMessageBox::information(this, QString::fromUtf8(ProductTitle),
                                 QString::fromStdString(messages.MsgNameNoBar));
        return;
    }
    addRecord(Record());
    accept();
}

// "Preview": the filter on the fitted picture; a number beyond the 32-bit
// range is reported and the preview stays as it was.
void TFilterForm::Button3Click()
{
    ApplyFilterString(preview.B(), preview.A(), FilterNumbers(Record()));
    image1->Show(preview.Box());
}

} // namespace krt
