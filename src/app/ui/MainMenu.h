#pragma once

#include <QAction>
#include <QHash>
#include <QMenu>
#include <QMenuBar>

namespace krt {

// The main menu's items by object name (N1 ... N47, Crop1). Submenus are
// QMenus, commands and separators QActions; both carry their object name.
struct MainMenu {
    QHash<QString, QMenu*> menus;
    QHash<QString, QAction*> actions;

    QAction* Action(const QString& name) const { return actions.value(name); }
    QMenu* Menu(const QString& name) const { return menus.value(name); }
};

// Builds every item of the main menu with its design caption and shortcut.
// Every command starts disabled; the window enables those it carries out.
MainMenu BuildMainMenu(QMenuBar* bar);

} // namespace krt
