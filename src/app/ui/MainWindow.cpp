#include "app/ui/MainWindow.h"

#include "app/DocumentState.h"
#include "app/WebLinks.h"
#include "app/ui/AboutBox.h"
#include "app/ui/KrtApplication.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QUrl>

namespace krt {

TForm1::TForm1(Editor& ed, QWidget* parent) : QMainWindow(parent), editor(ed)
{
    setObjectName("Form1");
    setWindowTitle(QString::fromUtf8(ProductTitle));
    setGeometry(242, 95, 543, 323);

    mdi = new QMdiArea(this);
    mdi->setObjectName("MdiArea");
    mdi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setCentralWidget(mdi);

    menu = BuildMainMenu(menuBar());
    menuBar()->setObjectName("MainMenu1");
    Connect("N5", &TForm1::N5Click);
    Connect("N12", &TForm1::N12Click);
    Connect("N36", &TForm1::N36Click);
    Connect("N37", &TForm1::N37Click);

    aboutBox = new TAboutBox(editor.language, this);

    timer = new QTimer(this);
    timer->setObjectName("Timer1");
    timer->setInterval(1000);
    connect(timer, &QTimer::timeout, this, [this] { RunGuarded([this] { Timer1Timer(); }); });
    timer->start();
}

void TForm1::Connect(const char* name, void (TForm1::*handler)())
{
    QAction* action = menu.Action(QString::fromUtf8(name));
    action->setEnabled(true);
    connect(action, &QAction::triggered, this, [this, handler] { RunGuarded([this, handler] { (this->*handler)(); }); });
}

CaptionWindows TForm1::Windows() const
{
    CaptionWindows windows;
    windows.insert("TForm1", const_cast<TForm1*>(this));
    windows.insert("TAboutBox", aboutBox);
    return windows;
}

void TForm1::Timer1Timer()
{
    if (!editor.HasSelection)
        return;
    for (OutlineDisplay* display : outlineDisplays)
        display->DrawOutline(editor.outline);
    editor.outline.Advance();
}

// Exit: ends the program at once; unsaved changes are not asked about.
void TForm1::N5Click() { QApplication::quit(); }

void TForm1::N12Click()
{
    QDesktopServices::openUrl(QUrl(QString::fromStdString(HomePageAddress(editor.language))));
}

void TForm1::N36Click() { aboutBox->exec(); }

void TForm1::N37Click()
{
    const QString help = QString::fromStdString(editor.paths.Program(HelpFileName(editor.language)));
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(help).absoluteFilePath()));
}

} // namespace krt
