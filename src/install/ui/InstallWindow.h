#pragma once

#include "install/Installer.h"

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <functional>

namespace krt {

// The install window of "krtphoto -install": the interface language to
// install (English first), and "OK", which installs, then lets the window
// stand for five ticks of its timer before the program ends. Its texts are
// English in every language.
class TINSTALL : public QDialog {
    Q_OBJECT
public:
    TINSTALL(InstallRequest request, DesktopFolders folders, QWidget* parent = nullptr);

    QRadioButton* Rus() const { return rus; }
    QRadioButton* RadioButton2() const { return radioButton2; }
    QPushButton* Button1() const { return button1; }
    QTimer* Timer1() const { return timer1; }
    // How the program ends, with its exit status: 1 after an installation
    // (what setup programs expect), 2 when it failed.
    std::function<void(int status)> finish;

private:
    void Button1Click();
    void Timer1Timer();

    InstallRequest request;
    DesktopFolders folders;
    QLabel* label1 = nullptr;
    QGroupBox* groupBox1 = nullptr;
    QRadioButton* rus = nullptr;
    QRadioButton* radioButton2 = nullptr;
    QPushButton* button1 = nullptr;
    QTimer* timer1 = nullptr;
    int ticks = 0;
};

// "krtphoto -uninstall": asks "Uninstall?"; Yes removes the group from the
// desktop's menu. Returns the exit status: 0 when removed, 1 when the answer
// was not Yes, 2 when a file could not be removed (the message says which).
int RunUninstall(const DesktopFolders& folders);

} // namespace krt
