#pragma once

#include "core/ui/BufferView.h"
#include "document/Editor.h"
#include "paint/ToolEngine.h"
#include "paint/ToolTraits.h"
#include "paint/ViewHost.h"
#include "paint/ui/OutlineDisplay.h"

#include <QComboBox>
#include <QFrame>
#include <QWidget>

namespace krt {

// The document window: the zoom box and the zoomed view of the image.
class TEditForm : public QWidget, public OutlineDisplay {
    Q_OBJECT
public:
    TEditForm(Editor& editor, ViewHost& windows, QWidget* parent = nullptr);

    // The zoom box's text taken as the zoom (its click, or Enter in it).
    void SetZoomFromBox();
    // Shows the view buffer.
    void ShowView();
    void DrawOutline(const OutlinePhase& phase) override;
    // Mouse events on the picture go to the tools.
    void AttachTools(ToolEngine& tools);
    // The cursor over the picture for a tool.
    void SetToolCursor(ToolCursor cursor);

    QComboBox* Combo() const { return combo; }
    BufferView* Image() const { return image; }

    // The client height the window never goes below.
    static constexpr int MinimumClientHeight = 50;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    Editor& editor;
    ViewHost& windows;
    QComboBox* combo = nullptr;
    QFrame* bevel = nullptr;
    BufferView* image = nullptr;
};

} // namespace krt
