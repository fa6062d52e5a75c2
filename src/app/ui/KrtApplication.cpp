#include "app/ui/KrtApplication.h"

#include "core/Product.h"
#include "core/ui/RunGuarded.h"

#include <exception>

namespace krt {

KrtApplication::KrtApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("krtphoto");
    // No display name: the desktop would append it to every window's title.
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

} // namespace krt
