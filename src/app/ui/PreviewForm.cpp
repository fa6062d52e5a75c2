#include "app/ui/PreviewForm.h"

#include "core/ui/RunGuarded.h"
#include "document/OutlinePhase.h"
#include "paint/View.h"

#include <QMouseEvent>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>

namespace krt {

TPreviewForm::TPreviewForm(Editor& ed, ViewHost& w, QWidget* parent) : QWidget(parent), editor(ed), windows(w)
{
    setObjectName("PreviewForm");
    setWindowTitle(QString::fromUtf8("Просмотр"));
    setMinimumSize(10, PreviewMinimumHeight);
    resize(474, 307);
    bevel = new QFrame(this);
    bevel->setObjectName("Bevel1");
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    image = new BufferView(this);
    image->setObjectName("Image");
    image->onPress = [this](QMouseEvent* e) { RunGuarded([&] { Navigate(e); }); };
    image->onMove = [this](QMouseEvent* e) {
        if (e->buttons() & Qt::LeftButton)
            RunGuarded([&] { Navigate(e); });
    };
}

void TPreviewForm::LayOutPreview(bool outline)
{
    const PreviewLayout layout = krt::LayOutPreview(width(), height(), editor.Image.Width, editor.Image.Height);
    ApplyPreviewLayout(editor, layout, outline);
    image->setGeometry(layout.left + 1, layout.top + 1, layout.width, layout.height);
    bevel->setGeometry(layout.left, layout.top, layout.width + 2, layout.height + 2);
    ShowPreview();
}

void TPreviewForm::ShowPreview() { image->Show(editor.View.PreviewBuffer); }

void TPreviewForm::DrawOutline(const OutlinePhase& phase)
{
    const ViewState& v = editor.View;
    ShowOutlined(*image, v.GradientFeedback ? v.RubberPreviewBuffer : v.PreviewBuffer,
                 editor.Buffers.PreviewFrameRows.data(), editor.Buffers.PreviewFrameColumns.data(),
                 editor.View.PreviewFrameCount, phase);
}

void TPreviewForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    RunGuarded([this] { LayOutPreview(true); });
}

// The pointed image position becomes the view's top-left corner.
void TPreviewForm::Navigate(QMouseEvent* event)
{
    const double x = std::clamp<double>(event->position().x(), 0, image->width() - 1);
    const double y = std::clamp<double>(event->position().y(), 0, image->height() - 1);
    const float scale = editor.View.PreviewScale > 0 ? editor.View.PreviewScale : 1.0f;
    editor.View.ScrollX = static_cast<int>(std::trunc(x / scale));
    editor.View.ScrollY = static_cast<int>(std::trunc(y / scale));
    windows.RedrawView();
}

} // namespace krt
