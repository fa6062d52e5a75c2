#pragma once

#include "core/DialogPreview.h"
#include "core/ui/BufferView.h"
#include "lang/Messages.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <functional>
#include <string>

namespace krt {

// The filter editor: a name, the nine weights in a 3 x 3 grid and the
// divisor. The grid's screen order is not the kernel's: the top row holds
// Edit1 Edit2 Edit3, the middle row Edit6 Edit5 Edit4, the bottom row Edit9
// Edit8 Edit7, and Editk always holds weight k. "Preview" shows the filter on
// the picture; "Добавить" adds it to the user's filters. Created once; the
// fields keep what was typed from one opening to the next.
class TFilterForm : public QDialog {
    Q_OBJECT
public:
    // `add` stores a record in the user library and rebuilds the menu; it
    // throws KrtError when the record cannot be stored.
    TFilterForm(const Messages& messages, std::function<void(const std::string&)> add, QWidget* parent = nullptr);

    // Shows the editor modally with the picture, unfiltered, in its preview.
    void Open(const TFastBMP& picture);
    // The record the fields make now (the weights and divisor checked).
    std::string Record() const;

    QLineEdit* NameEdit() const { return editName; }
    // Edit1 ... Edit9 hold w1 ... w9; Edit10 the divisor.
    QLineEdit* Edit(int k) const { return edits[static_cast<std::size_t>(k - 1)]; }
    BufferView* Image1() const { return image1; }
    QPushButton* AddButton() const { return button1; }
    QPushButton* CancelButton() const { return button2; }
    QPushButton* PreviewButton() const { return button3; }

private:
    QWidget* BuildGrid();
    void Button1Click();
    void Button3Click();

    const Messages& messages;
    std::function<void(const std::string&)> addRecord;
    QLabel* label1 = nullptr;
    QLineEdit* editName = nullptr;
    QGroupBox* groupBox1 = nullptr;
    std::array<QLineEdit*, 10> edits{};
    QLabel* label2 = nullptr;
    BufferView* image1 = nullptr;
    QPushButton* button1 = nullptr;
    QPushButton* button2 = nullptr;
    QPushButton* button3 = nullptr;
    DialogPreview preview{185, 190};
};

} // namespace krt
