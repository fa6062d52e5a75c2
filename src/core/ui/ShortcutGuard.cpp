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

// The widget that stands for a text box: an editable combo box for its line edit.
QWidget* Box(QWidget* widget)
{
    if (auto* combo = qobject_cast<QComboBox*>(widget ? widget->parentWidget() : nullptr))
        if (combo->lineEdit() == widget)
            return combo;
    return widget;
}

} // namespace

ShortcutGuard::ShortcutGuard(QWidget* guarded) : QObject(guarded), window(guarded)
{
    qApp->installEventFilter(this);
}

bool ShortcutGuard::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != window)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            typingIn = Box(widget);
        break;
    }
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            typingIn = Box(widget);
        break;
    }
    case QEvent::ShortcutOverride:
        // Not accepting the override lets the window's shortcuts have the key.
        if (TakesText(Box(widget)) && Box(widget) != typingIn)
            return true;
        break;
    default: break;
    }
    return false;
}

} // namespace krt
