#include "app/ui/QtClipboard.h"

#include "core/ui/Surface.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace krt {

bool QtClipboard::HasImage() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

bool QtClipboard::ReadImage(TFastBMP& into) const
{
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull() || image.width() < 1 || image.height() < 1)
        return false;
    FromQImage(image, into);
    return true;
}

void QtClipboard::WriteImage(const TFastBMP& image) { QGuiApplication::clipboard()->setImage(ToQImage(image)); }

} // namespace krt
