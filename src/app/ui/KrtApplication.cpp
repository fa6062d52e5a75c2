#include "app/ui/KrtApplication.h"

#include "app/DocumentState.h"

#include <QMessageBox>

#include <exception>

namespace krt {

KrtApplication::KrtApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("krtphoto");
    setApplicationDisplayName(ProductTitle);
    setApplicationVersion(ProductVersion);
}

bool KrtApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        ShowErrorMessage(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowErrorMessage(QStringLiteral("An unexpected error stopped the command."));
    }
    return false;
}

void ShowErrorMessage(const QString& text)
{
    QMessageBox::critical(QApplication::activeWindow(), QString::fromUtf8(ProductTitle), text);
}

void RunGuarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const std::exception& e) {
        ShowErrorMessage(QString::fromUtf8(e.what()));
    }
}

} // namespace krt
