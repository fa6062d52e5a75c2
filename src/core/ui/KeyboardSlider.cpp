#include "core/ui/KeyboardSlider.h"

namespace krt {

QScrollBar* NewSlider(QWidget* parent, const char* name, int maximum, int pageStep)
{
    auto* bar = new QScrollBar(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(0, maximum);
    bar->setPageStep(pageStep);
    bar->setInvertedControls(false);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

} // namespace krt
