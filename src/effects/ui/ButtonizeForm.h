#pragma once

#include "document/ui/EffectDialog.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QScrollBar>

namespace krt {

// The buttonize dialog: pressed or raised, and the bevel's depth in picture
// pixels (0..100); the preview draws the rings the depth gives at its scale.
// The choices stay while the program runs.
class TButtonize : public EffectDialog {
    Q_OBJECT
public:
    explicit TButtonize(QWidget* parent = nullptr);

    QRadioButton* PressedButton() const { return radioButton1; }
    QRadioButton* RaisedButton() const { return radioButton2; }
    QScrollBar* DepthBar() const { return scrollBar3; }
    int Depth() const { return depth; }

private:
    void DrawPreview(DialogPreview& preview) override;
    void Apply(TFastBMP& target, const TFastBMP& source) override;

    QGroupBox* groupBox1 = nullptr;
    QRadioButton* radioButton1 = nullptr;
    QRadioButton* radioButton2 = nullptr;
    QLabel* label3 = nullptr;
    QScrollBar* scrollBar3 = nullptr;
    int depth = 0;
};

} // namespace krt
