#include "paint/ui/InstrumForm.h"

#include "core/ui/Controls.h"
#include "core/ui/RunGuarded.h"
#include "paint/ToolChoice.h"
#include "paint/ui/ToolIcons.h"

#include <QMouseEvent>

namespace krt {
namespace {

QLabel* Label(const char* name, const QString& text, int left, int top, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    // The palette is 50 pixels wide: a smaller face keeps "Forecolor" whole.
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.8);
    label->setFont(font);
    label->setGeometry(left, top, 50 - left, 16);
    return label;
}

QFrame* Frame(const char* name, QRect geometry, QWidget* parent)
{
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setGeometry(geometry);
    return frame;
}

} // namespace

TInstrumForm::TInstrumForm(Editor& ed, ViewHost& w, ToolPalette& p, QWidget* parent)
    : QWidget(parent), editor(ed), windows(w), palette(p)
{
    setObjectName("InstrumForm");
    setWindowTitle(QString::fromUtf8("Инстр."));
    setFixedSize(50, 445);
    BuildToolButtons();
    BuildSwatches();
    BuildPosterizeBars();
}

// The fourteen tools, two per row, in one exclusive group.
void TInstrumForm::BuildToolButtons()
{
    group = new QButtonGroup(this);
    group->setExclusive(true);
    for (const ToolTraits& tool : AllTools()) {
        const int index = ToolNumber(tool.tool) - 1;
        auto* button = AddControl<QToolButton>(this, {tool.button, {(index % 2) * 25, (index / 2) * 25, 25, 25}});
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setIcon(ToolIcon(tool.tool));
        button->setIconSize(QSize(20, 20));
        group->addButton(button, ToolNumber(tool.tool));
        toolButtons[static_cast<std::size_t>(index)] = button;
        connect(button, &QToolButton::clicked, this,
                [this, t = tool.tool] { RunGuarded([this, t] { SelectTool(t); }); });
    }
}

// The foreground and background swatches with their labels (a click on
// either makes that colour the active one) and the two copy buttons.
void TInstrumForm::BuildSwatches()
{
    auto* foreLabel = Label("StaticText1", QString::fromUtf8("Лицевой"), 2, 176, this);
    auto* backLabel = Label("StaticText2", QString::fromUtf8("Фоновый"), 2, 257, this);
    foreFrame = Frame("Bevel1", QRect(3, 192, 41, 41), this);
    backFrame = Frame("Bevel2", QRect(3, 272, 41, 41), this);
    activeFrame = Frame("Bevel3", QRect(2, 191, 43, 43), this);
    activeFrame->setFrameStyle(QFrame::Box | QFrame::Plain);
    activeFrame->setLineWidth(2);
    foreSwatch = AddControl<BufferView>(this, {"Image1", {4, 193, SwatchSize, SwatchSize}});
    backSwatch = AddControl<BufferView>(this, {"Image2", {4, 273, SwatchSize, SwatchSize}});
    foreSwatch->onPress = [this](QMouseEvent*) { SetActive(true); };
    backSwatch->onPress = [this](QMouseEvent*) { SetActive(false); };
    foreLabel->setProperty("foreground", true);
    backLabel->setProperty("foreground", false);
    for (QLabel* label : {foreLabel, backLabel})
        label->installEventFilter(this);
    for (int k = 0; k < 2; ++k) {
        auto* copy =
            AddControl<QToolButton>(this, {k == 0 ? "SpeedButton13" : "SpeedButton14", {4 + 20 * k, 236, 19, 20}});
        copy->setIcon(CopyColorIcon(k == 1));
        copy->setAutoRaise(true);
        connect(copy, &QToolButton::clicked, this, [this, k] {
            if (k == 0)
                editor.Settings.ForeColor = editor.Settings.BackColor;
            else
                editor.Settings.BackColor = editor.Settings.ForeColor;
            palette.RefreshColorPanels();
        });
    }
}

// The three posterisation bars, red, green and blue.
void TInstrumForm::BuildPosterizeBars()
{
    const char* letters[3] = {"R", "G", "B"};
    for (int c = 0; c < 3; ++c) {
        Label(c == 0 ? "Label1" : c == 1 ? "Label2" : "Label3", letters[c], 5 + 16 * c, 312, this);
        auto* bar = new QScrollBar(Qt::Vertical, this);
        bar->setObjectName(QString("ScrollBar%1").arg(c + 1));
        bar->setRange(1, 255);
        bar->setValue(1);
        bar->setGeometry(4 + 16 * c, 328, 9, 113);
        connect(bar, &QScrollBar::valueChanged, this, [this] { RunGuarded([this] { PosterizeChanged(); }); });
        bars[static_cast<std::size_t>(c)] = bar;
    }
}

bool TInstrumForm::eventFilter(QObject* watched, QEvent* event)
{
    const QVariant foreground = watched->property("foreground");
    if (event->type() == QEvent::MouseButtonPress && foreground.isValid()) {
        SetActive(foreground.toBool());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TInstrumForm::PressTool(Tool tool)
{
    QToolButton* button = ToolButton(tool);
    button->setChecked(true);
    SelectTool(tool);
}

void TInstrumForm::SelectTool(Tool tool)
{
    const ToolTraits& info = Traits(tool);
    ToolButton(tool)->setChecked(true);
    if (onToolCursor)
        onToolCursor(info.cursor);
    // A placed text that still floats keeps its transparency list.
    if (tool != Tool::Move || !editor.Selection.FloatingText)
        EnableOptions(info.options);
    if (ChooseTool(editor, tool)) {
        windows.RelayoutPreview(true);
        windows.RedrawView();
    }
}

void TInstrumForm::EnableOptions(unsigned options)
{
    if (onToolOptions)
        onToolOptions(options);
}

void TInstrumForm::ShowMoveTool()
{
    ToolButton(Tool::Move)->setChecked(true);
    if (onToolCursor)
        onToolCursor(Traits(Tool::Move).cursor);
    EnableOptions(editor.Selection.FloatingText ? OptionTransparency : OptionsNone);
}

void TInstrumForm::SetActive(bool foreground)
{
    editor.Settings.ActiveIsForeground = foreground;
    const QRect swatch = foreground ? foreFrame->geometry() : backFrame->geometry();
    activeFrame->move(2, swatch.top() - 1);
    palette.RefreshColorPanels();
}

void TInstrumForm::ShowSwatches(const ColorPanelImages& images)
{
    foreSwatch->Show(images.foreSwatch);
    backSwatch->Show(images.backSwatch);
}

void TInstrumForm::PosterizeChanged()
{
    SetPosterize(editor.Settings, bars[0]->value(), bars[1]->value(), bars[2]->value());
    windows.RedrawPreview();
    windows.RedrawView();
    palette.RefreshColorPanels();
}

} // namespace krt
