#pragma once

#include "document/EditorSettings.h"
#include "document/ui/EffectDialog.h"

#include <QLabel>
#include <QScrollBar>

#include <cstdint>
#include <functional>

namespace krt {

// The clouds dialog: transparency (0..100, the share of the picture that
// shows through) and roughness (0..50), each with its value beside it. "OK"
// draws new clouds in the editor's background and foreground colours and
// mixes the picture in. No preview; the sliders stay while the program runs.
class TClouds : public EffectDialog {
    Q_OBJECT
public:
    // The clouds take the editor's colours as they are at OK.
    explicit TClouds(ColorPair colors, QWidget* parent = nullptr);

    QScrollBar* TransparencyBar() const { return scrollBar1; }
    QScrollBar* RoughnessBar() const { return scrollBar2; }
    QLabel* TransparencyValue() const { return label3; }
    QLabel* RoughnessValue() const { return label4; }
    // Where each OK's clouds start: the clock, in seconds (tests fix it).
    std::function<std::uint32_t()> seed;

private:
    void Opening() override;
    void Apply(TFastBMP& target, const TFastBMP& source) override;
    void ShowValues();

    QScrollBar* scrollBar1 = nullptr;
    QScrollBar* scrollBar2 = nullptr;
    QLabel* label3 = nullptr;
    QLabel* label4 = nullptr;
    ColorPair colors;
};

} // namespace krt
