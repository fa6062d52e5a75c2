#pragma once

#include <QWidget>

#include <functional>

namespace krt {

// Runs `action` whenever Enter is released in `widget` (the editable lists
// take their text then). The watcher is owned by the widget.
void OnEnterReleased(QWidget* widget, std::function<void()> action);

} // namespace krt
