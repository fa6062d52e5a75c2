#include "core/ui/KeyboardSlider.h"

#include <QPainter>
#include <QStyleOptionFocusRect>

namespace krt {
namespace {

// A scroll bar shows no focus of its own; this one draws the style's focus
// frame around itself, so that the user sees which slider the keys move.
class FocusedScrollBar : public QScrollBar {
public:
    using QScrollBar::QScrollBar;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QScrollBar::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.backgroundColor = palette().color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
};

} // namespace

QScrollBar* NewSlider(QWidget* parent, const char* name, int maximum, int pageStep)
{
    auto* bar = new FocusedScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(0, maximum);
    bar->setPageStep(pageStep);
    bar->setInvertedControls(false);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

} // namespace krt
