#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace krt {

// Lets the menu shortcuts of a window win over the standard editing keys of
// its text boxes (Ctrl+Z, Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+A …) unless the user is
// typing in that box. A box counts as being typed in once the user clicked
// into it, tabbed to it or typed a character into it; the focus the program
// hands to a box (at start-up, when the window becomes active) does not count.
// A key that no shortcut takes still reaches the box.
class ShortcutGuard : public QObject {
public:
    // Watches every event of the application for the widgets of `window`.
    explicit ShortcutGuard(QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window;
    QPointer<QWidget> typingIn;
};

} // namespace krt
