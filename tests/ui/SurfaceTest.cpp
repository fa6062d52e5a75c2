#include "core/ui/Surface.h"
#include "UiTest.h"

#include <QtTest>

using namespace krt;

namespace {

TFastBMP Pattern(int w, int h)
{
    TFastBMP b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, PackRGB(x * 40, y * 60, (x + y) * 20));
    return b;
}

} // namespace

class SurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void convertsBothWaysTopDown()
    {
        const TFastBMP b = Pattern(5, 3); // a width whose rows need padding
        const QImage image = ToQImage(b);
        QCOMPARE(image.size(), QSize(5, 3));
        QCOMPARE(image.pixel(4, 0), qRgb(160, 0, 80));
        QCOMPARE(image.pixel(0, 2), qRgb(0, 120, 40));
        TFastBMP back;
        FromQImage(image, back);
        QVERIFY(back.SamePixels(b));
    }

    void scaledDrawingRepeatsWholePixels()
    {
        const TFastBMP b = Pattern(2, 2);
        QImage target(6, 4, QImage::Format_RGB32);
        target.fill(Qt::black);
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true); // must not blend anyway
        DrawScaled(painter, b, 0, 0, 4, 4);
        DrawTiled(painter, b, 4, 0, 2, 4);
        painter.end();
        QCOMPARE(target.pixel(1, 1), qRgb(0, 0, 0));
        QCOMPARE(target.pixel(2, 1), qRgb(40, 0, 20));
        QCOMPARE(target.pixel(3, 3), qRgb(40, 60, 40));
        QCOMPARE(target.pixel(4, 2), qRgb(0, 0, 0)); // tiles repeat from the corner
        QCOMPARE(target.pixel(5, 3), qRgb(40, 60, 40));
    }
};

static const bool registered = RegisterUiTest<SurfaceTest>();
#include "SurfaceTest.moc"
