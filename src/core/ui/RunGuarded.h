#pragma once

#include <QString>

#include <functional>

namespace krt {

// Shows an error's text in a message box titled with the product's name.
void ShowErrorMessage(const QString& text);

// Runs a command, showing any exception it raises; the program goes on.
void RunGuarded(const std::function<void()>& command);

} // namespace krt
