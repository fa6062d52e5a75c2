#include "effects/ui/FilterForm.h"

#include "core/Product.h"
#include "core/ui/Controls.h"
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
    label1 = AddControl<QLabel>(this, {"Label1", {8, 6, 212, 18}, "Название фильтра"});
    editName = AddControl<QLineEdit>(this, {"EditName", {8, 26, 212, 24}});
    QWidget* last = BuildGrid();
    auto* bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(227, 7, 187, 192);
    image1 = AddControl<BufferView>(this, {"Image1", {228, 8, 185, 190}});
    button1 = AddControl<QPushButton>(this, {"Button1", {8, 178, 68, 25}, "Добавить"});
    button2 = AddControl<QPushButton>(this, {"Button2", {80, 178, 68, 25}, "Отмена"});
    button3 = AddControl<QPushButton>(this, {"Button3", {152, 178, 68, 25}, "Preview"});
    setTabOrder(last, button1);
    setTabOrder(button1, button2);
    setTabOrder(button2, button3);
    connect(button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button1Click(); }); });
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(button3, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button3Click(); }); });
}

// "Матрица": the nine weights in screen order and the divisor right of the
// middle row; Tab runs over the screen positions, left to right, top to
// bottom. Returns the last field in that order.
QWidget* TFilterForm::BuildGrid()
{
    groupBox1 = AddControl<QGroupBox>(this, {"GroupBox1", {8, 56, 212, 112}, "Матрица"});
    QWidget* previous = editName;
    auto follow = [&](QWidget* next) {
        setTabOrder(previous, next);
        previous = next;
    };
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column) {
            const int k = GridWeights[row][column];
            edits[static_cast<std::size_t>(k - 1)] =
                AddControl<QLineEdit>(groupBox1, {QString("Edit%1").arg(k), {8 + 44 * column, 22 + 29 * row, 40, 24}});
            follow(edits[static_cast<std::size_t>(k - 1)]);
        }
    label2 = AddControl<QLabel>(groupBox1, {"Label2", {142, 33, 64, 18}, "Делитель"});
    edits[9] = AddControl<QLineEdit>(groupBox1, {"Edit10", {142, 51, 60, 24}});
    // The divisor comes right after the middle row.
    setTabOrder(edits[3], edits[9]);
    return previous;
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
    return BuildFilterRecord(editName->text().toStdString(), weights, CheckDivisorText(edits[9]->text().toStdString()));
}

// "Добавить": a "|" in the name would make the record's numbers unreadable,
// so such a name is refused and the editor stays open with what was typed;
// so does a library that cannot take the record (the message says why).
void TFilterForm::Button1Click()
{
    if (editName->text().contains('|')) {
        QMessageBox::information(this, QString::fromUtf8(ProductTitle), QString::fromStdString(messages.MsgNameNoBar));
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
