#include "paint/ui/ColorForm.h"

#include "core/ui/RunGuarded.h"

#include <QColorDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace krt {
namespace {

// The strip under a bar: a small triangle whose apex points at the value.
class MarkerStrip : public QWidget {
public:
    explicit MarkerStrip(QWidget* parent) : QWidget(parent) {}
    int value = 0;
    std::function<void(QMouseEvent*)> onMouse;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().button());
        const int h = height();
        const QPoint corners[3] = {{value + 11, h - 1}, {value + 19, h - 1}, {value + 15, 0}};
        p.drawPolygon(corners, 3);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (onMouse)
            onMouse(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (onMouse && (e->buttons() & Qt::LeftButton))
            onMouse(e);
    }
};

// One row of the 16 standard colours.
class ColorGrid : public QWidget {
public:
    explicit ColorGrid(QWidget* parent) : QWidget(parent) {}
    std::function<void(int)> onPick;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        for (int i = 0; i < 16; ++i) {
            const PackedColor c = GridColor(i);
            const QRect cell(i * width() / 16, 0, (i + 1) * width() / 16 - i * width() / 16, height());
            p.fillRect(cell, QColor(RedOf(c), GreenOf(c), BlueOf(c)));
            p.setPen(palette().dark().color());
            p.drawRect(cell.adjusted(0, 0, -1, -1));
        }
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (onPick)
            onPick(GridIndex(static_cast<int>(e->position().x()), width()));
    }
};

} // namespace

TColorForm::TColorForm(EditorSettings& s, ToolPalette& p, QWidget* parent) : QWidget(parent), settings(s), palette(p)
{
    setObjectName("ColorForm");
    setWindowTitle(QString::fromUtf8("Цвет"));
    setFixedSize(320, 80);
    const char* letters[3] = {"R", "G", "B"};
    for (int c = 0; c < 3; ++c) {
        const int top = c * 18;
        auto* label = new QLabel(letters[c], this);
        label->setObjectName(QString("Label%1").arg(c + 1));
        label->setGeometry(2, top, 12, 12);
        auto* bar = new BufferView(this);
        bar->setObjectName(QString("Image%1").arg(c + 1));
        bar->setGeometry(15, top + 1, BarWidth, BarHeight);
        auto pick = [this, c](QMouseEvent* e, int shift) {
            if (e->buttons() & Qt::LeftButton)
                SetChannel(c, ChannelFromBar(static_cast<int>(e->position().x()) - shift));
        };
        bar->onPress = [pick](QMouseEvent* e) { pick(e, 0); };
        bar->onMove = [pick](QMouseEvent* e) { pick(e, 0); };
        auto* marker = new MarkerStrip(this);
        marker->setObjectName(QString("Image%1").arg(c + 4));
        marker->setGeometry(0, top + 10, 281, 5);
        marker->onMouse = [pick](QMouseEvent* e) { pick(e, 15); };
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString("Edit%1").arg(c + 1));
        edit->setGeometry(282, top, 36, 18);
        edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9.]*"), edit));
        connect(edit, &QLineEdit::textChanged, this, [this] { RunGuarded([this] { EditsChanged(); }); });
        bars[static_cast<std::size_t>(c)] = bar;
        markers[static_cast<std::size_t>(c)] = marker;
        edits[static_cast<std::size_t>(c)] = edit;
    }
    auto* colorGrid = new ColorGrid(this);
    colorGrid->setObjectName("CColorGrid1");
    colorGrid->setGeometry(2, 58, 304, 18);
    colorGrid->onPick = [this](int index) {
        SetActiveColor(settings, GridColor(index));
        palette.RefreshColorPanels();
    };
    grid = colorGrid;
    auto* dialogButton = new QPushButton("...", this);
    dialogButton->setObjectName("Button1");
    dialogButton->setFlat(true);
    dialogButton->setGeometry(308, 58, 12, 18);
    connect(dialogButton, &QPushButton::clicked, this, [this] { ChooseFromDialog(); });
}

void TColorForm::SetChannel(int channel, int value)
{
    const int shift = 16 - 8 * channel;
    const PackedColor c = ActiveColor(settings);
    SetActiveColor(settings, (c & ~(PackedColor{0xFF} << shift)) | (static_cast<PackedColor>(value) << shift));
    palette.RefreshColorPanels();
}

void TColorForm::EditsChanged()
{
    if (panelsUpdating)
        return;
    for (QLineEdit* edit : edits)
        if (edit->text().isEmpty())
            return;
    int values[3];
    for (int c = 0; c < 3; ++c) {
        const ChannelEntry entry = ParseChannelText(edits[static_cast<std::size_t>(c)]->text().toStdString());
        values[c] = entry.value;
        if (!entry.correctedText.empty())
            edits[static_cast<std::size_t>(c)]->setText(QString::fromStdString(entry.correctedText));
    }
    const PackedColor typed = PackRGB(values[0], values[1], values[2]);
    if (typed != ActiveColor(settings)) {
        SetActiveColor(settings, typed);
        palette.RefreshColorPanels();
    }
}

void TColorForm::ChooseFromDialog()
{
    const PackedColor c = ActiveColor(settings);
    const QColor chosen = QColorDialog::getColor(QColor(RedOf(c), GreenOf(c), BlueOf(c)), this);
    if (!chosen.isValid())
        return;
    SetActiveColor(settings, PackRGB(chosen.red(), chosen.green(), chosen.blue()));
    palette.RefreshColorPanels();
}

void TColorForm::ShowPanels(const ColorPanelImages& images)
{
    panelsUpdating = true;
    const PackedColor c = ActiveColor(settings);
    const int channels[3] = {RedOf(c), GreenOf(c), BlueOf(c)};
    for (std::size_t k = 0; k < 3; ++k) {
        edits[k]->setText(QString::number(channels[k]));
        bars[k]->Show(images.bars[k]);
        static_cast<MarkerStrip*>(markers[k])->value = images.markers[k];
        markers[k]->update();
    }
    panelsUpdating = false;
}

} // namespace krt
