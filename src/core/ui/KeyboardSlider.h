#pragma once

#include <QScrollBar>

namespace krt {

// A horizontal slider of a dialog, 0 … maximum: reached with Tab and moved
// with the arrow and Page keys, Right and Page Up towards larger values
// (a scroll bar takes no focus by default and its keys run the other way).
QScrollBar* NewSlider(QWidget* parent, const char* name, int maximum, int pageStep);

} // namespace krt
