#pragma once

#include "document/EditorSettings.h"
#include "document/Effect.h"
#include "effects/ui/ButtonizeForm.h"
#include "effects/ui/CloudsForm.h"
#include "effects/ui/GammaForm.h"
#include "effects/ui/ParamsForm.h"

#include <QMenu>
#include <QObject>

namespace krt {

// The colour and stylize effects of the main menu: "Гамма коррекция" and
// "Яркость, цветность, контрастность" under "Цвет", "Кнопка", "Облака" and
// "Барельеф" under "Стилизация, освещение". It owns their four dialogs;
// emboss has none.
class ColorEffectsMenu : public QObject {
    Q_OBJECT
public:
    // The clouds dialog draws in `colors`.
    ColorEffectsMenu(QMenu* color, QMenu* stylize, ColorPair colors, EffectRunner& frame, QWidget* window);

    TGammaForm* GammaForm() const { return gammaForm; }
    TParamsForm* ParamsForm() const { return paramsForm; }
    TButtonize* Buttonize() const { return buttonize; }
    TClouds* Clouds() const { return clouds; }

private:
    void Run(EffectDialog& dialog);

    EffectRunner& frame;
    TGammaForm* gammaForm = nullptr;
    TParamsForm* paramsForm = nullptr;
    TButtonize* buttonize = nullptr;
    TClouds* clouds = nullptr;
};

} // namespace krt
