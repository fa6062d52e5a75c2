#pragma once

#include "core/ui/BufferView.h"
#include "document/Editor.h"
#include "document/Effect.h"
#include "core/DialogPreview.h"

#include <QDialog>
#include <QPushButton>

#include <optional>

namespace krt {

// What the colour and stylize dialogs share: "OK" takes the undo snapshot and
// applies the effect to the target, "Отмена" leaves it alone; a dialog with a
// preview box shows the target scaled to fit and redraws it after every change
// of its controls. Fixed size, no title-bar buttons; created once, so the
// controls keep their positions from one opening to the next.
class EffectDialog : public QDialog {
    Q_OBJECT
public:
    // The dialog opened on a target (the image or the floating block) and an
    // unchanged copy of it; true when "OK" applied the effect.
    bool Open(TFastBMP& target, const TFastBMP& source);

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
    EffectDialog(Editor& editor, const char* objectName, const char* caption, QSize size,
                 std::optional<PreviewPlace> previewPlace, QWidget* parent);

    // Puts "OK" and "Отмена" side by side from (x, y), last in the Tab order
    // (called once the dialog's own controls exist).
    void PlaceButtons(int x, int y);
    // Recomputes the preview from the controls and shows it.
    void RedrawPreview();

    // Before the dialog shows (and before its first preview).
    virtual void Opening() {}
    // The preview's B from its A, after a change of the controls.
    virtual void DrawPreview(DialogPreview&) {}
    // The effect on the target, after the undo snapshot.
    virtual void Apply(TFastBMP& target, const TFastBMP& source) = 0;

    Editor& editor;

private:
    void ApplyAndClose();

    QPushButton* button1 = nullptr;
    QPushButton* button2 = nullptr;
    BufferView* previewBox = nullptr;
    std::optional<DialogPreview> fitted;
    TFastBMP* openedTarget = nullptr;
    const TFastBMP* openedSource = nullptr;
    bool dialogOK = false;
};

// A dialog as an effect of the frame.
class DialogEffect : public Effect {
public:
    explicit DialogEffect(EffectDialog& form) : dialog(form) {}
    bool HasDialog() const override { return true; }
    bool Run(TFastBMP& target, const TFastBMP& source) override { return dialog.Open(target, source); }

private:
    EffectDialog& dialog;
};

} // namespace krt
