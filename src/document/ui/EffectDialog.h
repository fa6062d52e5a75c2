#pragma once

#include "core/DialogPreview.h"
#include "core/ui/BufferView.h"
#include "document/Effect.h"

#include <QDialog>
#include <QFrame>
#include <QPushButton>

#include <optional>

namespace krt {

// What every effect dialog shares (the deformation dialog, the colour and
// stylize dialogs): "OK" confirms (the frame takes the undo snapshot) and
// applies the effect to the target, "Отмена" leaves it alone; a dialog with a
// preview box shows the target scaled to fit and redraws it after every
// change of its controls. Fixed size; created once, so the controls keep
// their positions from one opening to the next.
class EffectDialog : public QDialog {
    Q_OBJECT
public:
    // The dialog opened on a target (the image or the floating block) and an
    // unchanged copy of it; true when "OK" applied the effect.
    bool Open(TFastBMP& target, const TFastBMP& source, const Confirm& confirmed);

    QPushButton* OkButton() const { return button1; }
    QPushButton* CancelButton() const { return button2; }
    // The preview box and what it shows (dialogs with a preview only).
    BufferView* PreviewBox() const { return previewBox; }
    DialogPreview& Preview() { return *fitted; }

protected:
    struct PreviewPlace {
        const char* objectName;
        QRect box;
    };
    // Without title-bar buttons unless `flags` says otherwise.
    EffectDialog(const char* objectName, const char* caption, QSize size, std::optional<PreviewPlace> previewPlace,
                 QWidget* parent, Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    // Puts "OK" and "Отмена" side by side from (x, y), last in the Tab order
    // (called once the dialog's own controls exist).
    void PlaceButtons(int x, int y, QSize size = {75, 25}, int gap = 8);
    // Moves the preview box (and its frame) to `box`.
    void PlacePreview(QRect box);
    // Recomputes the preview from the controls and shows it.
    void RedrawPreview();

    // Before the dialog shows (and before its first preview).
    virtual void Opening() {}
    // The preview's B from its A, after a change of the controls.
    virtual void DrawPreview(DialogPreview&) {}
    // "OK": confirm, Apply, close. A dialog whose work can fail or be
    // cancelled on the way does its own instead, calling Commit() just
    // before it writes the target.
    virtual void OkClicked();
    // The effect on the target, after the undo snapshot (for the OK above).
    virtual void Apply(TFastBMP& /*target*/, const TFastBMP& /*source*/) {}

    // The user confirmed: the frame takes the undo snapshot, and Open will
    // say the effect was applied.
    void Commit();
    // Open will say the effect was applied, though nothing was written.
    void MarkApplied() { applied = true; }
    // The pair the dialog is open on (null when it is not).
    TFastBMP* Target() const { return openedTarget; }
    const TFastBMP* Source() const { return openedSource; }

private:
    QPushButton* button1 = nullptr;
    QPushButton* button2 = nullptr;
    QFrame* previewFrame = nullptr;
    BufferView* previewBox = nullptr;
    std::optional<DialogPreview> fitted;
    TFastBMP* openedTarget = nullptr;
    const TFastBMP* openedSource = nullptr;
    Confirm confirm;
    bool applied = false;
};

// A dialog as an effect of the frame.
class DialogEffect : public Effect {
public:
    explicit DialogEffect(EffectDialog& form) : dialog(form) {}
    bool HasDialog() const override { return true; }
    bool Run(TFastBMP& target, const TFastBMP& source, const Confirm& confirmed) override
    {
        return dialog.Open(target, source, confirmed);
    }

private:
    EffectDialog& dialog;
};

} // namespace krt
