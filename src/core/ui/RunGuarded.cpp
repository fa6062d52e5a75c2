#include "core/ui/RunGuarded.h"

#include "core/Product.h"

#include <QApplication>
#include <QMessageBox>

#include <exception>

namespace krt {

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
