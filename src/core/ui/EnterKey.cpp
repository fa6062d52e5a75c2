#include "core/ui/EnterKey.h"

#include <QKeyEvent>

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
    widget->installEventFilter(new EnterWatcher(widget, std::move(action)));
}

} // namespace krt
