#include "paint/ui/AddText.h"

#include "core/Product.h"
#include "core/ui/Controls.h"
#include "core/ui/RadioGroup.h"
#include "core/ui/RunGuarded.h"
#include "paint/ColorPanels.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QMessageBox>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>

namespace krt {

TAddText::TAddText(Editor& ed, ViewHost& w, ToolPalette& p, QWidget* parent)
    : QDialog(parent), editor(ed), windows(w), palette(p)
{
    setObjectName("AddText");
    setWindowTitle(QString::fromUtf8("Добавление текста"));
    setFixedSize(458, 258);
    BuildFontBox();
    BuildLayoutControls();
    memo = AddControl<QTextEdit>(this, {"Memo1", {156, 58, 294, 160}});
    memo->setAcceptRichText(false);
    memo->setLineWrapMode(QTextEdit::NoWrap);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    button4 = AddControl<QPushButton>(this, {"Button4", {286, 226, 78, 26}, "OK"});
    button4->setEnabled(false);
    button4->setDefault(true);
    button5 = AddControl<QPushButton>(this, {"Button5", {372, 226, 78, 26}, "Отмена"});
    connect(memo, &QTextEdit::textChanged, this, [this] { button4->setEnabled(!memo->toPlainText().isEmpty()); });
    connect(button4, &QPushButton::clicked, this, [this] { RunGuarded([this] { Button4Click(); }); });
    connect(button5, &QPushButton::clicked, this, &QDialog::reject);
    alignButtons[0]->setChecked(true);
    // The lists show the memo's font.
    comboBox1->setCurrentText(memo->font().family());
    comboBox2->setCurrentText(QString::number(memo->font().pointSize()));
}

// "Параметры шрифта": the font's family and size, bold, italic, underlined.
void TAddText::BuildFontBox()
{
    groupBox2 = AddControl<QGroupBox>(this, {"GroupBox2", {8, 4, 442, 50}, "Параметры шрифта"});
    comboBox1 = AddControl<QComboBox>(groupBox2, {"ComboBox1", {8, 18, 220, 24}});
    comboBox1->addItems(QFontDatabase::families());
    comboBox2 = AddControl<QComboBox>(groupBox2, {"ComboBox2", {236, 18, 60, 24}});
    for (int size = 0; size < 80; ++size)
        comboBox2->addItem(QString::number(size));
    connect(comboBox1, &QComboBox::activated, this, [this] {
        QFont font = memo->font();
        font.setFamily(comboBox1->currentText());
        SetMemoFont(font);
    });
    connect(comboBox2, &QComboBox::activated, this, [this] {
        QFont font = memo->font();
        font.setPointSize(std::max(comboBox2->currentText().toInt(), 1));
        SetMemoFont(font);
    });
    const char* styles[3] = {"B", "K", "U"};
    for (int k = 0; k < 3; ++k) {
        auto* button = AddControl<QToolButton>(
            groupBox2, {QString("SpeedButton%1").arg(k + 1), {310 + 28 * k, 18, 24, 24}, styles[k]});
        button->setCheckable(true);
        styleButtons[static_cast<std::size_t>(k)] = button;
        connect(button, &QToolButton::toggled, this, [this, k](bool on) {
            QFont font = memo->font();
            if (k == 0)
                font.setBold(on);
            else if (k == 1)
                font.setItalic(on);
            else
                font.setUnderline(on);
            SetMemoFont(font);
        });
    }
}

// The alignment, the line spacing and the smoothing.
void TAddText::BuildLayoutControls()
{
    groupBox1 = AddControl<QGroupBox>(this, {"GroupBox1", {8, 58, 140, 90}, "Выравнивание по"});
    const char* aligns[3] = {"Левому краю", "Центру", "Правому краю"};
    for (int k = 0; k < 3; ++k) {
        auto* radio = AddControl<QRadioButton>(
            groupBox1, {QString("RadioButton%1").arg(k + 1), {8, 18 + 22 * k, 128, 20}, aligns[k]});
        alignButtons[static_cast<std::size_t>(k)] = radio;
        connect(radio, &QRadioButton::toggled, this, [this, k](bool on) {
            if (on)
                SetAlignment(static_cast<TextAlign>(k));
        });
    }
    MakeRadioGroup(this, {alignButtons[0], alignButtons[1], alignButtons[2]});
    label1 = AddControl<QLabel>(this, {"Label1", {12, 154, 90, 20}, "Интервал (мм)"});
    spinEdit = AddControl<QSpinBox>(this, {"CSpinEdit1", {104, 152, 44, 24}});
    spinEdit->setRange(0, 72);
    checkBox1 = AddControl<QCheckBox>(this, {"CheckBox1", {12, 182, 136, 20}, "Сглаживание"});
}

void TAddText::SetMemoFont(const QFont& font)
{
    memo->setFont(font);
    // Text already typed takes the font too.
    QTextCursor all(memo->document());
    all.select(QTextCursor::Document);
    QTextCharFormat format;
    format.setFont(font);
    all.mergeCharFormat(format);
}

void TAddText::SetAlignment(TextAlign align)
{
    const Qt::Alignment flags = align == TextAlign::Left     ? Qt::AlignLeft
                                : align == TextAlign::Center ? Qt::AlignHCenter
                                                             : Qt::AlignRight;
    for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        QTextBlockFormat format = cursor.blockFormat();
        format.setAlignment(flags);
        cursor.setBlockFormat(format);
    }
    memo->setAlignment(flags);
}

TextAlign TAddText::Alignment() const
{
    return alignButtons[1]->isChecked()   ? TextAlign::Center
           : alignButtons[2]->isChecked() ? TextAlign::Right
                                          : TextAlign::Left;
}

void TAddText::Ask(ImagePoint at)
{
    position = at;
    exec();
}

std::optional<TextInk> TAddText::DrawText(TextLayout& layout) const
{
    const QStringList lines = memo->toPlainText().split('\n');
    QFont font = memo->font();
    // Ink is all or nothing: a cell belongs to the text or not.
    font.setStyleStrategy(QFont::NoAntialias);
    QImage probe(1, 1, QImage::Format_Grayscale8);
    const QFontMetrics metrics(font, &probe);
    std::vector<int> widths, heights;
    for (const QString& line : lines) {
        widths.push_back(metrics.horizontalAdvance(line));
        heights.push_back(metrics.height());
    }
    layout = LayOutText(widths, heights, Alignment(), SpacingPixels(spinEdit->value(), probe.logicalDpiY()));
    if (layout.width < 1 || layout.height < 1)
        return std::nullopt;
    if (layout.width > editor.Image.Width || layout.height > editor.Image.Height)
        return TextInk{layout.width, layout.height, {}};

    QImage canvas(layout.width, layout.height, QImage::Format_Grayscale8);
    canvas.fill(255);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (qsizetype i = 0; i < lines.size(); ++i)
            painter.drawText(layout.left[static_cast<std::size_t>(i)],
                             layout.top[static_cast<std::size_t>(i)] + metrics.ascent(), lines[i]);
    }
    TextInk ink{layout.width, layout.height, {}};
    ink.cells.resize(static_cast<std::size_t>(layout.width) * layout.height);
    for (int r = 0; r < layout.height; ++r) {
        const uchar* row = canvas.constScanLine(r);
        for (int c = 0; c < layout.width; ++c)
            ink.cells[static_cast<std::size_t>(r) * layout.width + c] = row[c] < 128 ? 1 : 0;
    }
    return ink;
}

void TAddText::Button4Click()
{
    TextLayout layout;
    const std::optional<TextInk> ink = DrawText(layout);
    if (!ink)
        return;
    const QString title = QString::fromUtf8(ProductTitle);
    if (ink->width > editor.Image.Width) {
        QMessageBox::information(this, title, QString::fromStdString(editor.Messages.MsgTextTooWide));
        return;
    }
    if (ink->height > editor.Image.Height) {
        QMessageBox::information(this, title, QString::fromStdString(editor.Messages.MsgTextTooHigh));
        return;
    }
    PlaceText(editor, *ink, position, checkBox1->isChecked());
    windows.RelayoutPreview(true);
    windows.RedrawView();
    editor.Settings.CurrentTool = Tool::Move;
    palette.ShowMoveTool();
    accept();
}

} // namespace krt
