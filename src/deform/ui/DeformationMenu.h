#pragma once

#include "core/ui/RecordItems.h"
#include "deform/DeformationTable.h"
#include "deform/ui/DeleteEffForm.h"
#include "deform/ui/EditEffect.h"
#include "deform/ui/EffectForm.h"
#include "deform/ui/SendEffectForm.h"
#include "document/EditorSettings.h"
#include "document/Effect.h"
#include "lang/InterfaceContext.h"

#include <QMenu>
#include <QObject>

#include <functional>
#include <string>
#include <vector>

namespace krt {

// The deformation subsystem's part of the main menu: the "Деформация"
// submenu ("Новая", "Удалить", then one item per deformation of the table,
// built-in ones first) and "Послать деформацию на сервер" of the web menu.
// It owns the deformation table and the four deformation windows.
class DeformationMenu : public QObject {
    Q_OBJECT
public:
    // `openAddress` hands a web address to the desktop (the browser).
    // The deformation dialog warps onto `colors`' background.
    DeformationMenu(QMenu* distortion, QMenu* web, InterfaceContext context, ColorPair colors, EffectRunner& frame,
                    QWidget* window, std::function<void(const std::string&)> openAddress);

    DeformationTable& Table() { return table; }
    // What was wrong with the library files when they were last read.
    const std::vector<std::string>& Problems() const { return problems; }
    TEffectForm* EffectForm() const { return effectForm; }
    TEditEffect* EditEffect() const { return editEffect; }
    TDeleteEffForm* DeleteEffForm() const { return deleteEffForm; }
    TSendEffectForm* SendEffectForm() const { return sendEffectForm; }
    // The submenu's item of a table slot.
    QAction* Item(int slot) const { return items->Item(slot); }

private:
    // Reads the libraries again and makes one item per slot.
    void LoadDeformationMenu();
    void AddDeformation(const std::string& record);
    void DeleteDeformation();
    void PublishDeformation();

    Language language;
    EffectRunner& frame;
    std::function<void(const std::string&)> open;
    DeformationTable table;
    std::vector<std::string> problems;
    RecordItems* items = nullptr;
    TEffectForm* effectForm = nullptr;
    TEditEffect* editEffect = nullptr;
    TDeleteEffForm* deleteEffForm = nullptr;
    TSendEffectForm* sendEffectForm = nullptr;
};

} // namespace krt
