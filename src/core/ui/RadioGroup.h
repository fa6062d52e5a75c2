#pragma once

#include <QButtonGroup>
#include <QRadioButton>

#include <initializer_list>

namespace krt {

// Makes radio buttons one exclusive group that the keyboard works as users
// expect: Tab lands on the chosen button (not on the group's first), so the
// arrow keys move the choice, not just the focus.
QButtonGroup* MakeRadioGroup(QObject* owner, std::initializer_list<QRadioButton*> buttons);

} // namespace krt
