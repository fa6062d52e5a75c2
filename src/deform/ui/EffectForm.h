#pragma once

#include "core/InterfaceLanguage.h"
#include "deform/DeformationPreview.h"
#include "deform/DeformationRecord.h"
#include "document/EditorSettings.h"
#include "document/ui/EffectDialog.h"
#include "lang/Messages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>

#include <array>
#include <string>

namespace krt {

// The deformation dialog: six sliders for the constants, the two formulas and
// a live preview. "OK" warps the whole destination from the source on every
// core (a warp that takes a while shows its progress and can be cancelled);
// "Отмена" closes without change. Created once, refilled for each showing.
class TEffectForm : public EffectDialog {
    Q_OBJECT
public:
    // The warp's background is the editor's background colour at the time;
    // `language` is the one the quality row speaks.
    TEffectForm(const Messages& messages, ColorPair colors, Language language, QWidget* parent = nullptr);

    // Fills the dialog from a record and shows it modally on the pair;
    // returns whether "OK" was pressed (DialogOK). `confirmed` runs once a
    // finished warp is about to replace the destination.
    bool ShowDeformation(const std::string& record, TFastBMP& destination, const TFastBMP& source,
                         const Confirm& confirmed);

    QScrollBar* ScrollBar(int k) const { return scrollBars[static_cast<std::size_t>(k)]; }
    QLabel* ConstantLabel(int k) const { return labels[static_cast<std::size_t>(k)]; }
    QLabel* ValueLabel(int k) const { return values[static_cast<std::size_t>(k)]; }
    QLabel* FormulaCaption(int k) const { return k == 0 ? label7 : label8; }
    QLineEdit* Formula(int k) const { return k == 0 ? edit1 : edit2; }
    BufferView* Image1() const { return PreviewBox(); }
    // How long "OK" works before it shows its progress (tests shorten it).
    void SetProgressDelay(int milliseconds) { progressDelay = milliseconds; }

    // The quality row: how OK, the preview and the editor's try-out read the
    // picture between pixels; kept for the whole run (and in the layout file).
    WarpQuality Quality() const;
    void SetQuality(const WarpQuality& quality);
    QComboBox* QualityBox(int k) const { return qualityBoxes[static_cast<std::size_t>(k)]; }
    // "Copy command": the krtphoto-batch line that does what OK does, to the clipboard.
    QPushButton* CopyCommandButton() const { return copyCommand; }

private:
    void BuildQualityRow(Language language);
    void LayOut(int labelWidth);
    void FitLabels();
    void ShowValues();
    DeformationParams CurrentParams() const;
    void ShowIncorrectFormula(char label);
    void DrawPreview(DialogPreview& preview) override;
    void OkClicked() override;

    const Messages& messages;
    ColorPair colors;
    std::array<QLabel*, 6> labels{};
    std::array<QScrollBar*, 6> scrollBars{};
    std::array<QLabel*, 6> values{};
    QLabel* label7 = nullptr;
    QLabel* label8 = nullptr;
    QLineEdit* edit1 = nullptr;
    QLineEdit* edit2 = nullptr;
    QLabel* qualityLabel = nullptr;
    std::array<QComboBox*, 3> qualityBoxes{}; // sampling, samples per side, edges
    QPushButton* copyCommand = nullptr;
    std::string recordText; // the record as its library holds it
    DeformationRecord record;
    int progressDelay = 500;
};

// A stored deformation as an effect of the frame: its dialog on the target.
class DeformationEffect : public Effect {
public:
    DeformationEffect(TEffectForm& form, std::string record) : dialog(form), text(std::move(record)) {}
    bool HasDialog() const override { return true; }
    bool Run(TFastBMP& target, const TFastBMP& source, const Confirm& confirmed) override
    {
        return dialog.ShowDeformation(text, target, source, confirmed);
    }

private:
    TEffectForm& dialog;
    std::string text;
};

} // namespace krt
