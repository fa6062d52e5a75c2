#include "app/ui/CaptionApplier.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>

namespace krt {
namespace {

bool SetCaption(QObject* target, bool isWindow, const QString& text)
{
    if (isWindow) {
        static_cast<QWidget*>(target)->setWindowTitle(text);
        return true;
    }
    if (auto* menu = qobject_cast<QMenu*>(target)) {
        menu->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(target)) {
        action->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
        button->setText(text);
    } else if (auto* label = qobject_cast<QLabel*>(target)) {
        label->setText(text);
    } else if (auto* box = qobject_cast<QGroupBox*>(target)) {
        box->setTitle(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(target)) {
        edit->setText(text);
    } else if (auto* widget = qobject_cast<QWidget*>(target)) {
        widget->setWindowTitle(text);
    } else {
        return false;
    }
    return true;
}

bool SetHint(QObject* target, const QString& text)
{
    if (auto* action = qobject_cast<QAction*>(target)) {
        action->setToolTip(text);
        return true;
    }
    if (auto* widget = qobject_cast<QWidget*>(target)) {
        widget->setToolTip(text);
        return true;
    }
    return false;
}

} // namespace

QStringList ApplyCaptions(std::span<const CaptionEntry> table, const CaptionWindows& windows)
{
    QStringList unresolved;
    for (const CaptionEntry& entry : table) {
        if (entry.property == CaptionProperty::Message)
            continue;
        const QString where = QString::fromUtf8(entry.window) + "->" + QString::fromUtf8(entry.control);
        QWidget* window = windows.value(QString::fromUtf8(entry.window));
        if (!window) {
            unresolved << where + " (no such window)";
            continue;
        }
        const bool isWindow = *entry.control == '\0';
        QObject* target = isWindow ? window : window->findChild<QObject*>(QString::fromUtf8(entry.control));
        const QString text = QString::fromUtf8(entry.text);
        bool done = false;
        if (target) {
            switch (entry.property) {
            case CaptionProperty::Caption: done = SetCaption(target, isWindow, text); break;
            case CaptionProperty::Hint: done = SetHint(target, text); break;
            case CaptionProperty::ListItem:
                if (auto* combo = qobject_cast<QComboBox*>(target); combo && entry.index < combo->count()) {
                    combo->setItemText(entry.index, text);
                    done = true;
                }
                break;
            case CaptionProperty::ListText:
                if (auto* combo = qobject_cast<QComboBox*>(target)) {
                    combo->setCurrentText(text);
                    done = true;
                }
                break;
            case CaptionProperty::Message: break;
            }
        }
        if (!done)
            unresolved << where;
    }
    return unresolved;
}

} // namespace krt
