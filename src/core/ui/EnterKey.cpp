#include "core/ui/EnterKey.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace krt {
namespace {

class EnterWatcher : public QObject {
public:
    EnterWatcher(QObject* owner, std::function<void()> act) : QObject(owner), action(std::move(act)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyRelease) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter)
                action();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> action;
};

} // namespace

void OnEnterReleased(QWidget* widget, std::function<void()> action)
{
    auto* watcher = new EnterWatcher(widget, std::move(action));
    widget->installEventFilter(watcher);
    // An editable combo box hands its keys to its line edit directly, past
    // the line edit's filters: watch both, as either may hold the focus.
    if (auto* combo = qobject_cast<QComboBox*>(widget); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(watcher);
}

} // namespace krt
