#pragma once

#include "document/ui/EffectDialog.h"
#include "effects/Gamma.h"

#include <array>

namespace krt {

// The gamma dialog: the red, green and blue tone curves in three 64 x 64
// graphs (Image1 to Image3), each bent through the point the user presses or
// drags to with the left button; the preview (Image4) follows every change.
// Every opening starts from the nearly straight curves.
class TGammaForm : public EffectDialog {
    Q_OBJECT
public:
    explicit TGammaForm(QWidget* parent = nullptr);

    BufferView* Graph(int channel) const { return graphs[static_cast<std::size_t>(channel)]; }
    const GammaCurves& Curves() const { return gamma; }

private:
    void Opening() override;
    void DrawPreview(DialogPreview& preview) override;
    void Apply(TFastBMP& target, const TFastBMP& source) override;
    void GraphMouse(int channel, QMouseEvent* event);

    std::array<BufferView*, 3> graphs{};
    std::array<TFastBMP, 3> graphBuffers;
    GammaCurves gamma;
};

} // namespace krt
