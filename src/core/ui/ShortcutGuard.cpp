#include "core/ui/ShortcutGuard.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace krt {
namespace {

bool TakesText(const QWidget* widget)
{
    if (const auto* combo = qobject_cast<const QComboBox*>(widget))
        return combo->isEditable();
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget) ||
           qobject_cast<const QTextEdit*>(widget) || qobject_cast<const QPlainTextEdit*>(widget);
}

// The widget that stands for a text box: an editable combo box or a spin box
// for its line edit, a text edit for its viewport.
QWidget* Box(QWidget* widget)
{
    QWidget* parent = widget->parentWidget();
    if (qobject_cast<QComboBox*>(parent) || qobject_cast<QAbstractSpinBox*>(parent) ||
        qobject_cast<QTextEdit*>(parent) || qobject_cast<QPlainTextEdit*>(parent))
        return parent;
    return widget;
}

// Focus that leaves for a menu, a popup or another window comes back: the
// box stays chosen.
bool FocusComesBack(Qt::FocusReason reason)
{
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason || reason == Qt::MenuBarFocusReason;
}

} // namespace

ShortcutGuard::ShortcutGuard(QWidget* guarded, QWidget* homeWidget)
    : QObject(guarded), window(guarded), home(homeWidget)
{
    qApp->installEventFilter(this);
}

bool ShortcutGuard::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window)
        return false;
    QWidget* box = Box(widget);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // A click chooses the box whether or not it had the focus already (a
        // click into another child window brings its last focus back first).
        if (TakesText(box))
            chosen = box;
        break;
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            chosen = TakesText(box) ? box : nullptr;
        break;
    }
    case QEvent::FocusOut:
        if (box == chosen && !FocusComesBack(static_cast<QFocusEvent*>(event)->reason()))
            chosen = nullptr;
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && box == chosen && key->modifiers() == Qt::NoModifier) {
            chosen = nullptr;
            if (home)
                home->setFocus(Qt::OtherFocusReason);
        } else if (!key->text().isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
                   TakesText(box)) {
            chosen = box;
        }
        break;
    }
    case QEvent::ShortcutOverride:
        // Not accepting the override lets the window's shortcuts have the key.
        if (TakesText(box) && box != chosen)
            return true;
        break;
    default: break;
    }
    return false;
}

} // namespace krt
