#include "core/ui/BufferView.h"

#include "core/ui/Surface.h"

#include <QMouseEvent>
#include <QPainter>

namespace krt {

BufferView::BufferView(QWidget* parent) : QWidget(parent) { setAttribute(Qt::WA_OpaquePaintEvent); }

void BufferView::Show(const TFastBMP& buffer)
{
    image = ToQImage(buffer);
    update();
}

void BufferView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawImage(0, 0, image);
}

void BufferView::mousePressEvent(QMouseEvent* event)
{
    if (onPress)
        onPress(event);
}

void BufferView::mouseMoveEvent(QMouseEvent* event)
{
    if (onMove)
        onMove(event);
}

void BufferView::mouseReleaseEvent(QMouseEvent* event)
{
    if (onRelease)
        onRelease(event);
}

} // namespace krt
