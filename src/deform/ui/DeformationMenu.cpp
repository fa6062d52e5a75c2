#include "deform/ui/DeformationMenu.h"

#include "core/ui/CommandBinder.h"
#include "core/ui/RunGuarded.h"
#include "deform/DeformationRecord.h"
#include "lang/WebLinks.h"

namespace krt {

DeformationMenu::DeformationMenu(QMenu* distortion, QMenu* web, InterfaceContext context, ColorPair colors,
                                 EffectRunner& effects, QWidget* window,
                                 std::function<void(const std::string&)> openAddress)
    : QObject(window), language(context.language), frame(effects), open(std::move(openAddress)),
      table(context.BuiltinLibrary("effect.prg", "effecte.prg"), context.paths.User("ueffect.prg"))
{
    effectForm = new TEffectForm(context.messages, colors, context.language, window);
    editEffect = new TEditEffect(
        context.messages, *effectForm, [this](const std::string& record) { AddDeformation(record); },
        [this] { frame.ShowChanges(); }, window);
    deleteEffForm = new TDeleteEffForm(window);
    items = new RecordItems(distortion, "Deformation", [this](int slot) {
        DeformationEffect effect(*effectForm, table.Record(slot));
        frame.ApplyEffect(effect);
    });
    sendEffectForm = new TSendEffectForm(window);
    BindCommands(distortion, {
                                 {"N31",
                                  [this] {
                                      frame.RunWithBackup(
                                          [this](TFastBMP& target, const TFastBMP& source, const Confirm& confirmed) {
                                              editEffect->Open(target, source, confirmed);
                                          });
                                  },
                                  {}},
                                 {"N32", [this] { DeleteDeformation(); },
                                  [this] { return table.DeformationCount() != table.BuiltinDeformationCount(); }},
                             });
    BindCommands(web, {{"N14", [this] { PublishDeformation(); }, {}}});
    LoadDeformationMenu();
}

void DeformationMenu::LoadDeformationMenu()
{
    problems = table.LoadDeformationMenu();
    items->Rebuild(table.Names());
}

void DeformationMenu::AddDeformation(const std::string& record)
{
    table.AddDeformation(record);
    LoadDeformationMenu();
}

void DeformationMenu::DeleteDeformation()
{
    deleteEffForm->Choose(table.Names(true), [this](int index) {
        table.DeleteDeformation(table.BuiltinDeformationCount() + index);
        LoadDeformationMenu();
    });
}

void DeformationMenu::PublishDeformation()
{
    sendEffectForm->Choose(table.Names(), [this](int slot) { open(PublishingAddress(language, table.Record(slot))); });
}

} // namespace krt
