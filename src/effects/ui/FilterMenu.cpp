#include "effects/ui/FilterMenu.h"

#include "core/ui/CommandBinder.h"
#include "effects/Convolution.h"

namespace krt {
namespace {

// A stored filter as an effect without a dialog. Its numbers are read before
// the frame starts, so a record that does not parse is reported with the
// document, the selection and the undo history as they were.
class FilterEffect : public Effect {
public:
    explicit FilterEffect(const std::string& record) : kernel(ParseFilterNumbers(FilterNumbers(record))) {}
    bool HasDialog() const override { return false; }
    bool Run(TFastBMP& target, const TFastBMP& source, const Confirm&) override
    {
        Convolve3x3(target, source, kernel);
        return true;
    }

private:
    FilterKernel kernel;
};

} // namespace

FilterMenu::FilterMenu(QMenu* filters, InterfaceContext context, EffectRunner& effects, QWidget* window)
    : QObject(window), frame(effects),
      table(context.BuiltinLibrary("filter.prg", "filtere.prg"), context.paths.User("ufilter.prg"))
{
    filterForm = new TFilterForm(
        context.messages, [this](const std::string& record) { AddFilter(record); }, window);
    deleteFilForm = new TDeleteFilForm(window);
    items = new RecordItems(filters, "Filter", [this](int slot) {
        FilterEffect effect(table.Record(slot));
        frame.ApplyEffect(effect);
    });
    BindCommands(filters, {
                              {"N33",
                               [this] {
                                   frame.RunWithBackup([this](TFastBMP& target, const TFastBMP&, const Confirm&) {
                                       filterForm->Open(target);
                                   });
                               },
                               {}},
                              {"N34", [this] { DeleteFilter(); },
                               [this] { return table.FilterCount() != table.BuiltinFilterCount(); }},
                          });
    LoadFilterMenu();
}

void FilterMenu::LoadFilterMenu()
{
    problems = table.LoadFilterMenu();
    items->Rebuild(table.Names());
}

void FilterMenu::AddFilter(const std::string& record)
{
    table.AddFilter(record);
    LoadFilterMenu();
}

void FilterMenu::DeleteFilter()
{
    deleteFilForm->Choose(table.Names(true), [this](int index) {
        table.DeleteFilter(table.BuiltinFilterCount() + index);
        LoadFilterMenu();
    });
}

} // namespace krt
