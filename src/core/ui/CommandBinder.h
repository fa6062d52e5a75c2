#pragma once

#include <QMenu>

#include <functional>
#include <vector>

namespace krt {

// One menu command: its item's object name, what it does, and when it may
// run (always, when empty).
struct Command {
    const char* name;
    std::function<void()> run;
    std::function<bool()> enabledWhen;
};

// Binds commands to the items of a menu (and its submenus) by object name.
// A command runs from its item or from its shortcut only when it may run at
// that moment; otherwise the trigger does nothing. Errors it raises are shown
// and the editor goes on. While a menu is open its items are greyed exactly
// when their commands may not run; while it is closed they stay live, so
// that every shortcut reaches the check.
void BindCommands(QMenu* menu, const std::vector<Command>& commands);

} // namespace krt
