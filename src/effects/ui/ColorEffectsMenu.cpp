#include "effects/ui/ColorEffectsMenu.h"

#include "core/ui/CommandBinder.h"
#include "effects/Emboss.h"

namespace krt {
namespace {

// Emboss has no dialog: the frame takes the undo snapshot and it runs in place.
class EmbossEffect : public Effect {
public:
    bool HasDialog() const override { return false; }
    bool Run(TFastBMP& target, const TFastBMP&, const Confirm&) override
    {
        Emboss(target);
        return true;
    }
};

} // namespace

ColorEffectsMenu::ColorEffectsMenu(QMenu* color, QMenu* stylize, ColorPair colors, EffectRunner& effects,
                                   QWidget* window)
    : QObject(window), frame(effects)
{
    gammaForm = new TGammaForm(window);
    paramsForm = new TParamsForm(window);
    buttonize = new TButtonize(window);
    clouds = new TClouds(colors, window);
    BindCommands(color, {
                            {"N25", [this] { Run(*gammaForm); }, {}},
                            {"N38", [this] { Run(*paramsForm); }, {}},
                        });
    BindCommands(stylize, {
                              {"N16", [this] { Run(*buttonize); }, {}},
                              {"N17", [this] { Run(*clouds); }, {}},
                              {"N35",
                               [this] {
                                   EmbossEffect emboss;
                                   frame.ApplyEffect(emboss);
                               },
                               {}},
                          });
}

void ColorEffectsMenu::Run(EffectDialog& dialog)
{
    DialogEffect effect(dialog);
    frame.ApplyEffect(effect);
}

} // namespace krt
