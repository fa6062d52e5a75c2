#pragma once

#include "document/ui/EffectDialog.h"

#include <QLabel>
#include <QScrollBar>

#include <array>

namespace krt {

// The colour-parameters dialog: saturation, brightness and contrast on three
// sliders (0..255, starting at 255, 0 and 0), applied in that order; the
// preview follows every slider. The positions stay while the program runs.
class TParamsForm : public EffectDialog {
    Q_OBJECT
public:
    explicit TParamsForm(QWidget* parent = nullptr);

    QScrollBar* ScrollBar(int k) const { return scrollBars[static_cast<std::size_t>(k)]; }
    QLabel* Label(int k) const { return labels[static_cast<std::size_t>(k)]; }

private:
    void DrawPreview(DialogPreview& preview) override;
    void Apply(TFastBMP& target, const TFastBMP& source) override;

    std::array<QLabel*, 3> labels{};
    std::array<QScrollBar*, 3> scrollBars{};
};

} // namespace krt
