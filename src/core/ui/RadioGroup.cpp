#include "core/ui/RadioGroup.h"

#include <QFocusEvent>

namespace krt {
namespace {

// Hands the focus that Tab brings into the group to its chosen button.
class FocusOnChoice : public QObject {
public:
    FocusOnChoice(QButtonGroup* g) : QObject(g), group(g) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::FocusIn)
            return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        QAbstractButton* chosen = group->checkedButton();
        if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) && chosen && chosen != watched &&
            chosen->isEnabled() && chosen->isVisible())
            chosen->setFocus(reason);
        return false;
    }

private:
    QButtonGroup* group;
};

} // namespace

QButtonGroup* MakeRadioGroup(QObject* owner, std::initializer_list<QRadioButton*> buttons)
{
    auto* group = new QButtonGroup(owner);
    group->setExclusive(true);
    auto* filter = new FocusOnChoice(group);
    for (QRadioButton* button : buttons) {
        group->addButton(button);
        button->installEventFilter(filter);
    }
    return group;
}

} // namespace krt
