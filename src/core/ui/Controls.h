#pragma once

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRect>
#include <QString>
#include <QWidget>

#include <type_traits>

namespace krt {

// A control as a window's design gives it: its object name (the caption
// tables find it by that), its place in the parent and its caption.
struct ControlPlace {
    QString name;
    QRect place;
    const char* caption = nullptr; // UTF-8; none for controls without one
};

// Creates a control of kind W in `parent`, named, placed and captioned as the
// design says: one line per control instead of four.
template <typename W> W* AddControl(QWidget* parent, const ControlPlace& control)
{
    auto* widget = new W(parent);
    widget->setObjectName(control.name);
    widget->setGeometry(control.place);
    if (control.caption) {
        const QString caption = QString::fromUtf8(control.caption);
        if constexpr (std::is_base_of_v<QGroupBox, W>)
            widget->setTitle(caption);
        else if constexpr (std::is_base_of_v<QLabel, W> || std::is_base_of_v<QAbstractButton, W> ||
                           std::is_base_of_v<QLineEdit, W>)
            widget->setText(caption);
    }
    return widget;
}

} // namespace krt
