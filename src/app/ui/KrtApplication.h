#pragma once

#include <QApplication>

#include <functional>

namespace krt {

// The editor's application object. An exception that escapes an event handler
// or a command is shown in a message box with its own text, and the editor
// goes on.
class KrtApplication : public QApplication {
public:
    KrtApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an error's text in a message box.
void ShowErrorMessage(const QString& text);

// Runs a command, showing any exception it raises.
void RunGuarded(const std::function<void()>& command);

} // namespace krt
