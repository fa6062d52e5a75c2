#include "paint/ui/ToolIcons.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace krt {
namespace {

constexpr int Size = 22;

void Pencil(QPainter& p)
{
    QPolygonF body;
    body << QPointF(5, 15) << QPointF(15, 5) << QPointF(18, 8) << QPointF(8, 18);
    p.setBrush(QColor(240, 200, 60));
    p.drawPolygon(body);
    QPolygonF tip;
    tip << QPointF(5, 15) << QPointF(8, 18) << QPointF(3, 20);
    p.setBrush(QColor(90, 60, 40));
    p.drawPolygon(tip);
}

void Brush(QPainter& p)
{
    p.setBrush(QColor(150, 90, 40));
    p.drawRect(QRectF(12, 2, 4, 9));
    p.setBrush(QColor(180, 180, 180));
    p.drawRect(QRectF(11, 10, 6, 3));
    QPainterPath tuft;
    tuft.moveTo(11, 13);
    tuft.cubicTo(10, 17, 8, 19, 5, 20);
    tuft.cubicTo(12, 20, 17, 17, 17, 13);
    p.setBrush(QColor(40, 80, 200));
    p.drawPath(tuft);
}

void Eraser(QPainter& p)
{
    p.translate(11, 11);
    p.rotate(-35);
    p.setBrush(QColor(230, 120, 140));
    p.drawRect(QRectF(-8, -4, 9, 8));
    p.setBrush(QColor(240, 240, 240));
    p.drawRect(QRectF(1, -4, 7, 8));
}

void Dropper(QPainter& p)
{
    p.translate(11, 11);
    p.rotate(45);
    p.setBrush(QColor(60, 60, 60));
    p.drawRoundedRect(QRectF(-3, -10, 6, 6), 2, 2);
    p.setBrush(QColor(200, 230, 255));
    p.drawRect(QRectF(-2, -4, 4, 10));
    p.drawLine(QPointF(0, 6), QPointF(0, 10));
}

void Bucket(QPainter& p, bool toBorder)
{
    if (toBorder) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(200, 0, 0), 1.5));
        p.drawRect(QRectF(1.5, 1.5, 19, 19));
        p.setPen(QPen(Qt::black, 1));
    }
    QPolygonF pail;
    pail << QPointF(5, 9) << QPointF(13, 5) << QPointF(17, 13) << QPointF(9, 17);
    p.setBrush(QColor(200, 200, 200));
    p.drawPolygon(pail);
    p.setBrush(QColor(40, 120, 220));
    p.drawEllipse(QRectF(14, 13, 5, 5));
}

void Replace(QPainter& p, bool allBut)
{
    p.setBrush(allBut ? QColor(255, 255, 255) : QColor(220, 40, 40));
    p.drawRect(QRectF(2, 3, 7, 7));
    p.setBrush(allBut ? QColor(220, 40, 40) : QColor(255, 255, 255));
    p.drawRect(QRectF(13, 12, 7, 7));
    p.drawLine(QPointF(9, 8), QPointF(14, 13));
    p.drawLine(QPointF(14, 13), QPointF(14, 10));
    p.drawLine(QPointF(14, 13), QPointF(11, 13));
}

void Dashed(QPainter& p) { p.setPen(QPen(Qt::black, 1, Qt::DashLine)); }

void Wand(QPainter& p)
{
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(QPointF(4, 18), QPointF(13, 9));
    p.setPen(QPen(QColor(230, 170, 0), 1));
    for (auto [dx, dy] : {std::pair{0, -4}, std::pair{4, 0}, std::pair{3, -3}, std::pair{-3, -3}, std::pair{3, 3}})
        p.drawLine(QPointF(15, 7), QPointF(15 + dx, 7 + dy));
}

void Arrows(QPainter& p)
{
    p.drawLine(QPointF(11, 2), QPointF(11, 20));
    p.drawLine(QPointF(2, 11), QPointF(20, 11));
    for (int d : {-1, 1}) {
        p.drawLine(QPointF(11, 11 + 9 * d), QPointF(8, 11 + 6 * d));
        p.drawLine(QPointF(11, 11 + 9 * d), QPointF(14, 11 + 6 * d));
        p.drawLine(QPointF(11 + 9 * d, 11), QPointF(11 + 6 * d, 8));
        p.drawLine(QPointF(11 + 9 * d, 11), QPointF(11 + 6 * d, 14));
    }
}

void Letter(QPainter& p)
{
    QFont font = p.font();
    font.setPixelSize(17);
    font.setBold(true);
    font.setFamily("serif");
    p.setFont(font);
    p.drawText(QRectF(0, 0, Size, Size), Qt::AlignCenter, "A");
}

void Gradient(QPainter& p)
{
    QLinearGradient g(2, 0, 20, 0);
    g.setColorAt(0, Qt::black);
    g.setColorAt(1, Qt::white);
    p.setBrush(g);
    p.drawRect(QRectF(2, 5, 18, 12));
}

} // namespace

QIcon ToolIcon(Tool tool)
{
    QPixmap pixmap(Size, Size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    switch (tool) {
    case Tool::Pencil: Pencil(p); break;
    case Tool::Brush: Brush(p); break;
    case Tool::Eraser: Eraser(p); break;
    case Tool::Picker: Dropper(p); break;
    case Tool::FillSameColor: Bucket(p, false); break;
    case Tool::FillToBackground: Bucket(p, true); break;
    case Tool::ReplaceColor: Replace(p, false); break;
    case Tool::ReplaceOtherColors: Replace(p, true); break;
    case Tool::RectangleSelect:
        Dashed(p);
        p.drawRect(QRectF(3, 5, 16, 12));
        break;
    case Tool::SameColorSelect: Wand(p); break;
    case Tool::FreeHandSelect:
        Dashed(p);
        p.drawEllipse(QRectF(3, 4, 16, 13));
        break;
    case Tool::Move: Arrows(p); break;
    case Tool::Text: Letter(p); break;
    case Tool::Gradient: Gradient(p); break;
    }
    return QIcon(pixmap);
}

QIcon CopyColorIcon(bool downwards)
{
    QPixmap pixmap(13, 13);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::black);
    QPolygonF arrow;
    if (downwards)
        arrow << QPointF(2, 4) << QPointF(11, 4) << QPointF(6.5, 10);
    else
        arrow << QPointF(2, 9) << QPointF(11, 9) << QPointF(6.5, 3);
    p.drawPolygon(arrow);
    return QIcon(pixmap);
}

} // namespace krt
