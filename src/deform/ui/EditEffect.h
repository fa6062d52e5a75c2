#pragma once

#include "deform/DeformationRecord.h"
#include "deform/ui/EffectForm.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <array>
#include <functional>

namespace krt {

// The deformation editor: a name, six constants (label, used, default), the
// coordinate system and kind, and two formulas. It adds the record they make
// to the user library, tries it out on the document in the deformation
// dialog, or adds a record typed as one line. Created once; its fields keep
// their contents from one opening to the next.
class TEditEffect : public QDialog {
    Q_OBJECT
public:
    // `add` stores a record in the user library and rebuilds the menu;
    // `show` redraws the document after a try-out changed it.
    TEditEffect(const Messages& messages, TEffectForm& tryOut, std::function<void(const std::string&)> add,
                std::function<void()> show, QWidget* parent = nullptr);

    // Shows the editor modally; a try-out runs on this pair and, when its
    // dialog's OK is pressed, calls `confirmed` first.
    void Open(TFastBMP& target, const TFastBMP& source, const Confirm& confirmed);
    DeformationEditorFields Fields() const;

    QLineEdit* NameEdit() const { return edit9; }
    QCheckBox* UsedBox(int k) const { return usedBoxes[static_cast<std::size_t>(k)]; }
    QLineEdit* LabelEdit(int k) const { return labelEdits[static_cast<std::size_t>(k)]; }
    QLineEdit* DefaultEdit(int k) const { return defaultEdits[static_cast<std::size_t>(k)]; }
    QLineEdit* FormulaEdit(char letter) const;
    QRadioButton* CartesianButton() const { return radioButton1; }
    QRadioButton* PolarButton() const { return radioButton2; }
    QRadioButton* SourceButton() const { return radioButton3; }
    QRadioButton* TargetButton() const { return radioButton4; }
    QPushButton* AddButton() const { return button1; }
    QPushButton* TryButton() const { return button2; }
    QPushButton* ByStringButton() const { return button3; }
    QPushButton* CancelButton() const { return button5; }

private:
    void BuildConstantRows();
    void BuildFormulaBox();
    void SystemChanged();
    void Button1Click();
    void Button2Click();
    void Button3Click();

    const Messages& messages;
    TEffectForm& effectForm;
    std::function<void(const std::string&)> addRecord;
    std::function<void()> showTryOut;
    TFastBMP* target = nullptr;
    const TFastBMP* source = nullptr;
    Confirm confirm;
    QLineEdit* edit9 = nullptr;
    std::array<QCheckBox*, 6> usedBoxes{};
    std::array<QLineEdit*, 6> labelEdits{};
    std::array<QLineEdit*, 6> defaultEdits{};
    QRadioButton* radioButton1 = nullptr;
    QRadioButton* radioButton2 = nullptr;
    QRadioButton* radioButton3 = nullptr;
    QRadioButton* radioButton4 = nullptr;
    QLineEdit* edit7 = nullptr;
    QLineEdit* edit8 = nullptr;
    QLineEdit* edit10 = nullptr;
    QLineEdit* edit11 = nullptr;
    QPushButton* button1 = nullptr;
    QPushButton* button2 = nullptr;
    QPushButton* button3 = nullptr;
    QPushButton* button5 = nullptr;
};

} // namespace krt
