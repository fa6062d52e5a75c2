#pragma once

#include <QApplication>

namespace krt {

// The editor's application object. An exception that escapes an event handler
// or a command is shown in a message box with its own text, and the editor
// goes on.
class KrtApplication : public QApplication {
public:
    KrtApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace krt
