#pragma once

#include "app/PreviewLayout.h"
#include "core/ui/BufferView.h"
#include "document/Editor.h"
#include "paint/ViewHost.h"
#include "paint/ui/OutlineDisplay.h"

#include <QFrame>
#include <QWidget>

namespace krt {

// The preview window: the whole image fitted and centred, with the selection
// outline; pressing or dragging in it scrolls the document view.
class TPreviewForm : public QWidget, public OutlineDisplay {
    Q_OBJECT
public:
    TPreviewForm(Editor& editor, ViewHost& windows, QWidget* parent = nullptr);

    // Lays the preview out for the window's and the image's size and redraws it.
    void LayOutPreview(bool outline);
    // Shows the preview buffer.
    void ShowPreview();
    void DrawOutline(const OutlinePhase& phase) override;
    BufferView* Image() const { return image; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Navigate(QMouseEvent* event);

    Editor& editor;
    ViewHost& windows;
    QFrame* bevel = nullptr;
    BufferView* image = nullptr;
};

} // namespace krt
