#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace krt {

// Lets the menu shortcuts of a window win over the standard editing keys of
// its text boxes (Ctrl+Z, Ctrl+C, Ctrl+V, Ctrl+X, Ctrl+A …) unless the user
// chose the box. A box is chosen when the user clicks into it, tabs to it or
// types a character into it, and stays chosen until the focus leaves it for
// another control of the window (a click in the picture, Tab, Escape). The
// focus the program hands to a box does not count, nor does the focus coming
// back to a chosen box after a menu, a popup or a message box. Escape in a
// chosen box gives the focus back to `home` (the picture). A key that no
// shortcut takes still reaches the box.
class ShortcutGuard : public QObject {
public:
    // Watches every event of the application for the widgets of `window`.
    ShortcutGuard(QWidget* window, QWidget* home);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window;
    QPointer<QWidget> home;
    QPointer<QWidget> chosen;
};

} // namespace krt
