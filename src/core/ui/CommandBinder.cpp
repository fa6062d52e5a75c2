#include "core/ui/CommandBinder.h"

#include "core/ui/RunGuarded.h"

#include <QAction>

#include <stdexcept>

namespace krt {

void BindCommands(QMenu* menu, const std::vector<Command>& commands)
{
    for (const Command& command : commands) {
        QAction* action = menu->findChild<QAction*>(QString::fromUtf8(command.name));
        if (!action)
            throw std::logic_error(std::string("The menu has no item ") + command.name + ".");
        action->setEnabled(true);
        const auto run = command.run;
        const auto enabled = command.enabledWhen;
        QObject::connect(action, &QAction::triggered, action, [run, enabled] {
            RunGuarded([&] {
                if (!enabled || enabled())
                    run();
            });
        });
        if (!enabled)
            continue;
        // The item's own menu greys it while open and makes it live again on closing.
        auto* owner = qobject_cast<QMenu*>(action->parent());
        if (!owner)
            continue;
        QObject::connect(owner, &QMenu::aboutToShow, action, [action, enabled] { action->setEnabled(enabled()); });
        QObject::connect(owner, &QMenu::aboutToHide, action, [action] { action->setEnabled(true); });
    }
}

} // namespace krt
