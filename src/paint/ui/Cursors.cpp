#include "paint/ui/Cursors.h"

#include <QPainter>
#include <QPixmap>

namespace krt {
namespace {

QPixmap Canvas()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

// Draws a shape twice: a white halo and a black line, visible on any picture.
template <class Draw> void Outlined(QPainter& p, Draw draw)
{
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap));
    draw(p);
    p.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
    draw(p);
}

QCursor Cross()
{
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    Outlined(p, [](QPainter& q) {
        q.drawLine(15, 4, 15, 12);
        q.drawLine(15, 18, 15, 26);
        q.drawLine(4, 15, 12, 15);
        q.drawLine(18, 15, 26, 15);
        q.drawPoint(15, 15);
    });
    return QCursor(pixmap, 15, 15);
}

QCursor Move()
{
    QPixmap pixmap = Canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    Outlined(p, [](QPainter& q) {
        q.drawLine(15, 3, 15, 27);
        q.drawLine(3, 15, 27, 15);
        for (int d : {-1, 1}) {
            q.drawLine(15, 15 + 12 * d, 12, 15 + 9 * d);
            q.drawLine(15, 15 + 12 * d, 18, 15 + 9 * d);
            q.drawLine(15 + 12 * d, 15, 15 + 9 * d, 12);
            q.drawLine(15 + 12 * d, 15, 15 + 9 * d, 18);
        }
    });
    return QCursor(pixmap, 15, 15);
}

} // namespace

QCursor EditorCursor(ToolCursor cursor)
{
    switch (cursor) {
    case ToolCursor::Move: return Move();
    case ToolCursor::TextBeam: return QCursor(Qt::IBeamCursor);
    case ToolCursor::Paint: break;
    }
    return Cross();
}

} // namespace krt
