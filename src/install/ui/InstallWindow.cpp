#include "install/ui/InstallWindow.h"

#include "core/ui/RadioGroup.h"
#include "core/ui/RunGuarded.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace krt {

TINSTALL::TINSTALL(InstallRequest base, DesktopFolders desktop, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      finish([](int status) { QCoreApplication::exit(status); }), request(std::move(base)), folders(std::move(desktop))
{
    setObjectName("INSTALL");
    setWindowTitle("INSTALL");
    setFixedSize(233, 135);
    label1 = new QLabel("Choose interface Language", this);
    label1->setObjectName("Label1");
    label1->setAlignment(Qt::AlignCenter);
    label1->setGeometry(8, 6, 217, 20);
    groupBox1 = new QGroupBox(this);
    groupBox1->setObjectName("GroupBox1");
    groupBox1->setGeometry(8, 28, 217, 64);
    rus = new QRadioButton("Russian", groupBox1);
    rus->setObjectName("Rus");
    rus->setGeometry(12, 8, 190, 22);
    radioButton2 = new QRadioButton("English", groupBox1);
    radioButton2->setObjectName("RadioButton2");
    radioButton2->setGeometry(12, 34, 190, 22);
    radioButton2->setChecked(true);
    MakeRadioGroup(this, {rus, radioButton2});
    button1 = new QPushButton("OK", this);
    button1->setObjectName("Button1");
    button1->setDefault(true);
    button1->setGeometry(8, 100, 217, 27);
    timer1 = new QTimer(this);
    timer1->setObjectName("Timer1");
    timer1->setInterval(1000);
    connect(button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    connect(timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
}

void TINSTALL::Button1Click()
{
    request.language = rus->isChecked() ? Language::Russian : Language::English;
    try {
        Install(request, folders);
    } catch (const std::exception& e) {
        ShowErrorMessage(QString::fromUtf8(e.what()));
        finish(2);
        return;
    }
    raise();
    activateWindow();
    button1->setEnabled(false);
    timer1->start();
}

// About five seconds after "OK" the program ends.
void TINSTALL::Timer1Timer()
{
    if (++ticks == 5) {
        timer1->stop();
        finish(1);
    }
}

int RunUninstall(const DesktopFolders& folders)
{
    if (QMessageBox::question(nullptr, "Uninstall", "Uninstall?", QMessageBox::Yes | QMessageBox::No,
                              QMessageBox::No) != QMessageBox::Yes)
        return 1;
    try {
        Uninstall(folders);
    } catch (const std::exception& e) {
        ShowErrorMessage(QString::fromUtf8(e.what()));
        return 2;
    }
    return 0;
}

} // namespace krt
