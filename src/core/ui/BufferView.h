#pragma once

#include "core/FastBMP.h"

#include <QImage>
#include <QWidget>

#include <functional>

namespace krt {

// A picture control: shows a pixel buffer 1:1 at its top-left corner and
// hands mouse events to whoever owns it.
class BufferView : public QWidget {
    Q_OBJECT
public:
    explicit BufferView(QWidget* parent = nullptr);

    // Takes a copy of the buffer's pixels and repaints.
    void Show(const TFastBMP& buffer);
    const QImage& Shown() const { return image; }

    std::function<void(QMouseEvent*)> onPress;
    std::function<void(QMouseEvent*)> onMove;
    std::function<void(QMouseEvent*)> onRelease;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage image;
};

} // namespace krt
