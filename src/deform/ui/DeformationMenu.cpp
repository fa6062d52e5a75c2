#include "deform/ui/DeformationMenu.h"

#include "core/ui/CommandBinder.h"
#include "core/ui/RunGuarded.h"
#include "deform/DeformationRecord.h"
#include "lang/WebLinks.h"

namespace krt {
namespace {

std::string BuiltinLibrary(const Editor& editor)
{
    return editor.paths.Program(editor.language == Language::Russian ? "effect.prg" : "effecte.prg");
}

} // namespace

DeformationMenu::DeformationMenu(QMenu* distortion, QMenu* web, Editor& ed, EffectRunner& effects, QWidget* window,
                                 std::function<void(const std::string&)> openAddress)
    : QObject(window), editor(ed), frame(effects), menu(distortion), open(std::move(openAddress)),
      table(BuiltinLibrary(ed), ed.paths.User("ueffect.prg"))
{
    effectForm = new TEffectForm(editor, window);
    editEffect = new TEditEffect(
        editor, *effectForm, [this](const std::string& record) { AddDeformation(record); }, window);
    deleteEffForm = new TDeleteEffForm(window);
    sendEffectForm = new TSendEffectForm(window);
    BindCommands(distortion,
                 {
                     {"N31",
                      [this] {
                          frame.RunWithBackup(
                              [this](TFastBMP& target, const TFastBMP& source) { editEffect->Open(target, source); });
                      },
                      {}},
                     {"N32", [this] { DeleteDeformation(); },
                      [this] { return table.DeformationCount() != table.BuiltinDeformationCount(); }},
                 });
    BindCommands(web, {{"N14", [this] { PublishDeformation(); }, {}}});
    LoadDeformationMenu();
}

QAction* DeformationMenu::Item(int slot) const
{
    return slot >= 0 && slot < static_cast<int>(items.size()) ? items[static_cast<std::size_t>(slot)] : nullptr;
}

void DeformationMenu::LoadDeformationMenu()
{
    for (QAction* item : items)
        delete item;
    items.clear();
    problems = table.LoadDeformationMenu();
    for (int slot = 0; slot < table.DeformationCount(); ++slot) {
        QAction* item = menu->addAction(QString::fromStdString(RecordName(table.Record(slot))));
        item->setObjectName(QString("Deformation%1").arg(slot));
        connect(item, &QAction::triggered, this, [this, slot] {
            RunGuarded([this, slot] {
                DeformationEffect effect(*effectForm, table.Record(slot));
                frame.ApplyEffect(effect);
            });
        });
        items.push_back(item);
    }
}

void DeformationMenu::AddDeformation(const std::string& record)
{
    table.AddDeformation(record);
    LoadDeformationMenu();
}

void DeformationMenu::DeleteDeformation()
{
    std::vector<std::string> names;
    for (const std::string& record : table.UserRecords())
        names.push_back(RecordName(record));
    deleteEffForm->Choose(names, [this](int index) {
        table.DeleteDeformation(table.BuiltinDeformationCount() + index);
        LoadDeformationMenu();
    });
}

void DeformationMenu::PublishDeformation()
{
    std::vector<std::string> names;
    for (int slot = 0; slot < table.DeformationCount(); ++slot)
        names.push_back(RecordName(table.Record(slot)));
    sendEffectForm->Choose(names,
                           [this](int slot) { open(PublishingAddress(editor.language, table.Record(slot))); });
}

} // namespace krt
