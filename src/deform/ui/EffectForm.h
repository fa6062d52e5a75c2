#pragma once

#include "core/ui/BufferView.h"
#include "deform/DeformationPreview.h"
#include "deform/DeformationRecord.h"
#include "document/Editor.h"
#include "document/Effect.h"

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <array>

namespace krt {

// The deformation dialog: six sliders for the constants, the two formulas and
// a live preview. "OK" warps the whole destination from the source on every
// core (a warp that takes a while shows its progress and can be cancelled);
// "Отмена" closes without change. Created once, refilled for each showing.
class TEffectForm : public QDialog {
    Q_OBJECT
public:
    TEffectForm(Editor& editor, QWidget* parent = nullptr);

    // Fills the dialog from a record and shows it modally on the pair;
    // returns whether "OK" was pressed (DialogOK).
    bool ShowDeformation(const std::string& record, TFastBMP& destination, const TFastBMP& source);

    QScrollBar* ScrollBar(int k) const { return scrollBars[static_cast<std::size_t>(k)]; }
    QLabel* ConstantLabel(int k) const { return labels[static_cast<std::size_t>(k)]; }
    QLabel* ValueLabel(int k) const { return values[static_cast<std::size_t>(k)]; }
    QLabel* FormulaCaption(int k) const { return k == 0 ? label7 : label8; }
    QLineEdit* Formula(int k) const { return k == 0 ? edit1 : edit2; }
    BufferView* Image1() const { return image1; }
    QPushButton* OkButton() const { return button1; }
    QPushButton* CancelButton() const { return button2; }
    // How long "OK" works before it shows its progress (tests shorten it).
    void SetProgressDelay(int milliseconds) { progressDelay = milliseconds; }
    // What the preview surface shows now.
    const TFastBMP& TargetPreview() const { return targetPreview; }

private:
    void LayOut(int labelWidth);
    void FitLabels();
    DeformationParams CurrentParams() const;
    void ShowIncorrectFormula(char label);
    void RenderPreview();
    void ApplyDeformation();

    Editor& editor;
    std::array<QLabel*, 6> labels{};
    std::array<QScrollBar*, 6> scrollBars{};
    std::array<QLabel*, 6> values{};
    QLabel* label7 = nullptr;
    QLabel* label8 = nullptr;
    QLineEdit* edit1 = nullptr;
    QLineEdit* edit2 = nullptr;
    QFrame* bevel = nullptr;
    BufferView* image1 = nullptr;
    QPushButton* button1 = nullptr;
    QPushButton* button2 = nullptr;

    DeformationRecord record;
    TFastBMP* destination = nullptr;
    const TFastBMP* source = nullptr;
    TFastBMP sourcePreview;
    TFastBMP targetPreview;
    TFastBMP surface; // Image1's picture: black with the preview at its offset
    PreviewGeometry geometry;
    int progressDelay = 500;
    bool settingUp = false;
    bool dialogOK = false;
};

// A stored deformation as an effect of the frame: its dialog on the target.
class DeformationEffect : public Effect {
public:
    DeformationEffect(TEffectForm& form, std::string record) : dialog(form), text(std::move(record)) {}
    bool HasDialog() const override { return true; }
    bool Run(TFastBMP& target, const TFastBMP& source) override { return dialog.ShowDeformation(text, target, source); }

private:
    TEffectForm& dialog;
    std::string text;
};

} // namespace krt
