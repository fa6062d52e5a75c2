#pragma once

#include "document/Editor.h"
#include "paint/TextBlock.h"
#include "paint/ToolPalette.h"
#include "paint/ViewHost.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTextEdit>
#include <QToolButton>

#include <array>
#include <optional>

namespace krt {

// The text dialog: the typed lines in the chosen font become a floating
// block of the foreground colour at the pressed point. Created once; its
// settings last for the run.
class TAddText : public QDialog {
    Q_OBJECT
public:
    TAddText(Editor& editor, ViewHost& windows, ToolPalette& palette, QWidget* parent = nullptr);

    // Shows the dialog modally for a text at `position`.
    void Ask(ImagePoint position);
    // "OK": renders and places the text, or says why it does not fit.
    void Button4Click();

    // The lines drawn in the memo's font, as ink cells; nothing when the
    // text is empty. Also gives the block's layout.
    std::optional<TextInk> DrawText(TextLayout& layout) const;

    QComboBox* FontList() const { return comboBox1; }
    QComboBox* SizeList() const { return comboBox2; }
    QToolButton* StyleButton(int k) const { return styleButtons[static_cast<std::size_t>(k)]; }
    QRadioButton* AlignButton(int k) const { return alignButtons[static_cast<std::size_t>(k)]; }
    QSpinBox* Spacing() const { return spinEdit; }
    QCheckBox* Smoothing() const { return checkBox1; }
    QTextEdit* Memo() const { return memo; }
    QPushButton* OkButton() const { return button4; }

private:
    void BuildFontBox();
    void BuildLayoutControls();
    void SetMemoFont(const QFont& font);
    void SetAlignment(TextAlign align);
    TextAlign Alignment() const;

    Editor& editor;
    ViewHost& windows;
    ToolPalette& palette;
    ImagePoint position{0, 0};
    QGroupBox* groupBox1 = nullptr;
    QGroupBox* groupBox2 = nullptr;
    QComboBox* comboBox1 = nullptr;
    QComboBox* comboBox2 = nullptr;
    std::array<QToolButton*, 3> styleButtons{};
    std::array<QRadioButton*, 3> alignButtons{};
    QLabel* label1 = nullptr;
    QSpinBox* spinEdit = nullptr;
    QCheckBox* checkBox1 = nullptr;
    QTextEdit* memo = nullptr;
    QPushButton* button4 = nullptr;
    QPushButton* button5 = nullptr;
};

} // namespace krt
