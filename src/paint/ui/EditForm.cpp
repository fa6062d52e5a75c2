#include "paint/ui/EditForm.h"

#include "core/ui/EnterKey.h"
#include "core/ui/RunGuarded.h"
#include "document/OutlinePhase.h"
#include "paint/View.h"
#include "paint/ui/Cursors.h"

#include <QLineEdit>
#include <QMouseEvent>

#include <QResizeEvent>
#include <cmath>

namespace krt {

TEditForm::TEditForm(Editor& ed, ViewHost& w, QWidget* parent) : QWidget(parent), editor(ed), windows(w)
{
    setObjectName("EditForm");
    setWindowTitle(QString::fromUtf8("Редактирование"));
    setMinimumHeight(MinimumClientHeight);
    combo = new QComboBox(this);
    combo->setObjectName("Combo");
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems({"10%", "25%", "50%", "100%", "200%", "400%"});
    combo->setCurrentText("200%");
    connect(combo, &QComboBox::activated, this, [this] { RunGuarded([this] { SetZoomFromBox(); }); });
    OnEnterReleased(combo, [this] { RunGuarded([this] { SetZoomFromBox(); }); });
    bevel = new QFrame(this);
    bevel->setObjectName("Bevel1");
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    image = new BufferView(this);
    image->setObjectName("Image");
    // A click in the picture takes the keyboard from the zoom box.
    image->setFocusPolicy(Qt::ClickFocus);
    SetToolCursor(ToolCursor::Paint);
}

void TEditForm::SetZoomFromBox()
{
    std::string text = combo->currentText().toStdString();
    try {
        SetZoomFromText(editor.View, text);
    } catch (...) {
        combo->setCurrentText(QString::fromStdString(text));
        throw;
    }
    combo->setCurrentText(QString::fromStdString(text));
    windows.RedrawView();
}

void TEditForm::ShowView() { image->Show(editor.View.ViewBuffer); }

void TEditForm::DrawOutline(const OutlinePhase& phase)
{
    // Over the gradient's rubber band while it shows.
    const ViewState& v = editor.View;
    ShowOutlined(*image, v.GradientFeedback ? v.RubberViewBuffer : v.ViewBuffer, editor.Buffers.ViewFrameRows.data(),
                 editor.Buffers.ViewFrameColumns.data(), editor.View.ViewFrameCount, phase);
}

namespace {

unsigned ModifiersOf(const QMouseEvent* event)
{
    unsigned modifiers = 0;
    if (event->modifiers() & Qt::ShiftModifier)
        modifiers |= ModShift;
    if (event->modifiers() & Qt::AltModifier)
        modifiers |= ModAlt;
    if (event->buttons() & Qt::LeftButton)
        modifiers |= ModLeftButton;
    return modifiers;
}

QPoint EventPoint(const QMouseEvent* event)
{
    return {static_cast<int>(std::floor(event->position().x())), static_cast<int>(std::floor(event->position().y()))};
}

} // namespace

void TEditForm::AttachTools(ToolEngine& tools)
{
    image->setMouseTracking(true);
    image->onPress = [&tools](QMouseEvent* event) {
        const QPoint p = EventPoint(event);
        RunGuarded([&] { tools.OnPress(ModifiersOf(event), p.x(), p.y()); });
    };
    image->onMove = [&tools](QMouseEvent* event) {
        const QPoint p = EventPoint(event);
        RunGuarded([&] { tools.OnMove(ModifiersOf(event), p.x(), p.y()); });
    };
    image->onRelease = [&tools](QMouseEvent* event) {
        const QPoint p = EventPoint(event);
        RunGuarded([&] { tools.OnRelease(ModifiersOf(event), p.x(), p.y()); });
    };
}

void TEditForm::SetToolCursor(ToolCursor cursor) { image->setCursor(EditorCursor(cursor)); }

void TEditForm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int w = width(), h = height();
    combo->setGeometry(0, 0, w, 24);
    bevel->setGeometry(0, 24, w, h - 24);
    image->setGeometry(1, 25, std::max(w - 2, 1), std::max(h - 26, 1));
    editor.View.ViewWidth = image->width();
    editor.View.ViewHeight = image->height();
    editor.View.ViewFrameMap.assign(static_cast<std::size_t>(image->width()) * image->height(), 0);
    RunGuarded([this] { windows.RedrawView(); });
}

} // namespace krt
