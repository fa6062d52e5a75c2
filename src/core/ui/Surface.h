#pragma once

#include "core/FastBMP.h"

#include <QImage>
#include <QPainter>

namespace krt {

// A top-down 32-bit copy of the buffer, for drawing with Qt.
QImage ToQImage(const TFastBMP& buffer);
// Takes the size and pixels of any QImage (alpha is dropped).
void FromQImage(const QImage& image, TFastBMP& buffer);

// Drawing a buffer onto a Qt surface. Scaled drawing deletes or repeats whole
// pixels (no blending), as the editor's views expect.
void DrawAt(QPainter& painter, const TFastBMP& buffer, int x, int y);
void DrawScaled(QPainter& painter, const TFastBMP& buffer, int x, int y, int w, int h);
void DrawPart(QPainter& painter, const TFastBMP& buffer, int x, int y, int w, int h, int sx, int sy);
void DrawPartScaled(QPainter& painter, const TFastBMP& buffer, int x, int y, int w, int h, int sx, int sy, int sw,
                    int sh);
void DrawTiled(QPainter& painter, const TFastBMP& buffer, int x, int y, int w, int h);

} // namespace krt
