#include "core/ui/Surface.h"

namespace krt {

QImage ToQImage(const TFastBMP& buffer)
{
    QImage image(buffer.Width, buffer.Height, QImage::Format_RGB32);
    for (int y = 0; y < buffer.Height; ++y) {
        const std::uint8_t* s = buffer.RowTable[static_cast<std::size_t>(y)];
        auto* d = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < buffer.Width; ++x, s += 3)
            d[x] = qRgb(s[2], s[1], s[0]);
    }
    return image;
}

void FromQImage(const QImage& image, TFastBMP& buffer)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    buffer.Allocate(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* d = buffer.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < rgb.width(); ++x, d += 3) {
            d[0] = static_cast<std::uint8_t>(qBlue(s[x]));
            d[1] = static_cast<std::uint8_t>(qGreen(s[x]));
            d[2] = static_cast<std::uint8_t>(qRed(s[x]));
        }
    }
}

void DrawAt(QPainter& painter, const TFastBMP& buffer, int x, int y) { painter.drawImage(x, y, ToQImage(buffer)); }

void DrawScaled(QPainter& painter, const TFastBMP& buffer, int x, int y, int w, int h)
{
    DrawPartScaled(painter, buffer, x, y, w, h, 0, 0, buffer.Width, buffer.Height);
}

void DrawPart(QPainter& painter, const TFastBMP& buffer, int x, int y, int w, int h, int sx, int sy)
{
    painter.drawImage(QPoint(x, y), ToQImage(buffer), QRect(sx, sy, w, h));
}

void DrawPartScaled(QPainter& painter, const TFastBMP& buffer, int x, int y, int w, int h, int sx, int sy, int sw,
                    int sh)
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRect(x, y, w, h), ToQImage(buffer), QRect(sx, sy, sw, sh));
    painter.restore();
}

void DrawTiled(QPainter& painter, const TFastBMP& buffer, int x, int y, int w, int h)
{
    if (buffer.Empty() || w <= 0 || h <= 0)
        return;
    TFastBMP tiled(w, h);
    buffer.TileInto(tiled);
    DrawAt(painter, tiled, x, y);
}

} // namespace krt
