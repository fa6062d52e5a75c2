#pragma once

#include "core/ui/RecordItems.h"
#include "document/Effect.h"
#include "effects/FilterLibrary.h"
#include "effects/ui/DeleteFilForm.h"
#include "effects/ui/FilterForm.h"
#include "lang/InterfaceContext.h"

#include <QMenu>
#include <QObject>

#include <string>
#include <vector>

namespace krt {

// The filter subsystem's part of the main menu: the "Трилинейные фильтры"
// submenu ("Новый", "Удалить", then one item per filter of the table,
// built-in ones first). It owns the filter table and the two filter windows.
class FilterMenu : public QObject {
    Q_OBJECT
public:
    FilterMenu(QMenu* filters, InterfaceContext context, EffectRunner& frame, QWidget* window);

    FilterTable& Table() { return table; }
    // What was wrong with the library files when they were last read.
    const std::vector<std::string>& Problems() const { return problems; }
    TFilterForm* FilterForm() const { return filterForm; }
    TDeleteFilForm* DeleteFilForm() const { return deleteFilForm; }
    // The submenu's item of a table slot.
    QAction* Item(int slot) const { return items->Item(slot); }

private:
    // Reads the libraries again and makes one item per slot.
    void LoadFilterMenu();
    void AddFilter(const std::string& record);
    void DeleteFilter();

    EffectRunner& frame;
    FilterTable table;
    std::vector<std::string> problems;
    RecordItems* items = nullptr;
    TFilterForm* filterForm = nullptr;
    TDeleteFilForm* deleteFilForm = nullptr;
};

} // namespace krt
