#include "deform/ui/EffectForm.h"

#include "core/OwnMessages.h"
#include "core/Product.h"
#include "core/ui/KeyboardSlider.h"
#include "core/ui/RunGuarded.h"
#include "deform/BatchCommandLine.h"
#include "deform/formula/Prepare.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProgressDialog>

#include <algorithm>
#include <vector>

namespace krt {
namespace {

// The preview surface and the progress of "OK".
constexpr int SurfaceLeft = 298;
constexpr int ProgressSteps = 1000;
// The label column: the window's width for it, and the most it may grow to.
constexpr int LabelWidth = 100;
constexpr int MaxLabelWidth = 260;

QLabel* RightAligned(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* ReadOnly(QWidget* parent, const QString& name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

WarpOptions EditorWarpOptions()
{
    WarpOptions options;
    options.decimalSeparator = LocaleDecimalSeparator();
    return options;
}

// The quality row's texts, in the order of the enums.
constexpr OwnMessage QualityCaption{"Quality", "Качество"};
constexpr OwnMessage CopyCommandCaption{"Copy command", "Копировать команду"};
constexpr OwnMessage SamplingNames[] = {
    {"Nearest pixel", "Ближайшая точка"}, {"Bilinear", "Билинейная"}, {"Bicubic", "Бикубическая"}};
constexpr OwnMessage SampleNames[] = {{"1 sample", "1 отсчёт"},
                                      {"2 x 2 samples", "2 x 2 отсчёта"},
                                      {"4 x 4 samples", "4 x 4 отсчёта"},
                                      {"Adaptive", "Адаптивно"}};
constexpr int SampleCounts[] = {1, 2, 4, Adaptive};
constexpr OwnMessage EdgeNames[] = {{"Background beyond", "Фон за краем"},
                                    {"Edge pixels", "Краевые точки"},
                                    {"Repeated", "Повтор"},
                                    {"Mirrored", "Зеркально"}};
// The quality row lies under the formulas and the preview.
constexpr int QualityTop = 212;
constexpr int QualityWidths[3] = {150, 118, 136};

QString In(Language language, const OwnMessage& text)
{
    return QString::fromUtf8(language == Language::Russian ? text.russian : text.english);
}

template <std::size_t N>
QComboBox* Choice(QWidget* parent, const char* name, const OwnMessage (&items)[N], Language language)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    for (const OwnMessage& item : items)
        box->addItem(In(language, item));
    return box;
}

} // namespace

TEffectForm::TEffectForm(const Messages& texts, ColorPair colorPair, Language language, QWidget* parent)
    : EffectDialog("EffectForm", "Деформация", QSize(519, 209),
                   PreviewPlace{"Image1", QRect(SurfaceLeft, 2, PreviewSurfaceWidth, PreviewSurfaceHeight)}, parent,
                   Qt::Dialog),
      messages(texts), colors(colorPair)
{
    for (std::size_t k = 0; k < 6; ++k) {
        labels[k] = RightAligned(this, QString("Label%1").arg(k + 1));
        scrollBars[k] = NewSlider(this, qPrintable(QString("ScrollBar%1").arg(k + 1)), 100, 10);
        values[k] = new QLabel("0", this);
        values[k]->setObjectName(QString("Label%1").arg(k + 9));
        connect(scrollBars[k], &QScrollBar::valueChanged, this, [this] {
            ShowValues();
            RunGuarded([this] { RedrawPreview(); });
        });
    }
    label7 = RightAligned(this, "Label7");
    edit1 = ReadOnly(this, "Edit1");
    label8 = RightAligned(this, "Label8");
    edit2 = ReadOnly(this, "Edit2");
    BuildQualityRow(language);
    LayOut(LabelWidth);
}

void TEffectForm::BuildQualityRow(Language language)
{
    qualityLabel = RightAligned(this, "QualityLabel");
    qualityLabel->setText(In(language, QualityCaption));
    qualityBoxes = {Choice(this, "Sampling", SamplingNames, language),
                    Choice(this, "Supersample", SampleNames, language), Choice(this, "Edge", EdgeNames, language)};
    QWidget* previous = edit2;
    for (QComboBox* box : qualityBoxes) {
        connect(box, &QComboBox::currentIndexChanged, this, [this] { RunGuarded([this] { RedrawPreview(); }); });
        setTabOrder(previous, box);
        previous = box;
    }
    setTabOrder(previous, OkButton());
    copyCommand = new QPushButton(In(language, CopyCommandCaption), this);
    copyCommand->setObjectName("CopyCommand");
    connect(copyCommand, &QPushButton::clicked, this, [this] {
        QGuiApplication::clipboard()->setText(
            QString::fromStdString(BatchCommandLine(recordText, CurrentParams().constants, colors.Back(), Quality())));
    });
}

WarpQuality TEffectForm::Quality() const
{
    return {static_cast<Sampling>(std::max(qualityBoxes[0]->currentIndex(), 0)),
            SampleCounts[std::max(qualityBoxes[1]->currentIndex(), 0)],
            static_cast<EdgeMode>(std::max(qualityBoxes[2]->currentIndex(), 0))};
}

void TEffectForm::SetQuality(const WarpQuality& quality)
{
    const auto samples = std::find(std::begin(SampleCounts), std::end(SampleCounts), quality.samples);
    qualityBoxes[0]->setCurrentIndex(std::clamp(static_cast<int>(quality.sampling), 0, 2));
    qualityBoxes[1]->setCurrentIndex(
        samples == std::end(SampleCounts) ? 0 : static_cast<int>(samples - std::begin(SampleCounts)));
    qualityBoxes[2]->setCurrentIndex(std::clamp(static_cast<int>(quality.edge), 0, 3));
}

// The labels are right-aligned in a column `labelWidth` wide (at least the
// window's 100 pixels); the sliders, values, formulas, buttons and preview
// follow it, and the window grows by what the column grew.
void TEffectForm::LayOut(int labelWidth)
{
    const int shift = labelWidth - LabelWidth;
    // The buttons move down under the quality row.
    setFixedSize(519 + shift, QualityTop + 54);
    PlacePreview(QRect(SurfaceLeft + shift, 2, PreviewSurfaceWidth, PreviewSurfaceHeight));
    PlaceButtons(108 + shift, QualityTop + 28, QSize(88, 22), 10);
    copyCommand->setGeometry(304 + shift, QualityTop + 28, 160, 22);
    setTabOrder(CancelButton(), copyCommand);
    qualityLabel->setGeometry(4, QualityTop, labelWidth, 22);
    for (int k = 0, left = 108 + shift; k < 3; left += QualityWidths[k++] + 4)
        qualityBoxes[static_cast<std::size_t>(k)]->setGeometry(left, QualityTop, QualityWidths[k], 22);
    for (std::size_t k = 0; k < 6; ++k) {
        const int top = 4 + 22 * static_cast<int>(k);
        labels[k]->setGeometry(4, top, labelWidth, 20);
        scrollBars[k]->setGeometry(108 + shift, top + 2, 150, 16);
        values[k]->setGeometry(264 + shift, top, 30, 20);
    }
    label7->setGeometry(4, 138, labelWidth, 22);
    edit1->setGeometry(108 + shift, 138, 186, 22);
    label8->setGeometry(4, 162, labelWidth, 22);
    edit2->setGeometry(108 + shift, 162, 186, 22);
}

// Gives every label the room of its text, up to MaxLabelWidth; a longer one
// is cut with an ellipsis and shows whole as its tooltip.
void TEffectForm::FitLabels()
{
    std::vector<QLabel*> all(labels.begin(), labels.end());
    all.push_back(label7);
    all.push_back(label8);
    int widest = LabelWidth;
    for (QLabel* label : all)
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(label->text()) + 4);
    const int width = std::min(widest, MaxLabelWidth);
    for (QLabel* label : all) {
        const QString text = label->text();
        const bool fits = label->fontMetrics().horizontalAdvance(text) + 4 <= width;
        label->setToolTip(fits ? QString() : text);
        label->setText(fits ? text : label->fontMetrics().elidedText(text, Qt::ElideRight, width - 4));
    }
    LayOut(width);
}

bool TEffectForm::ShowDeformation(const std::string& text, TFastBMP& target, const TFastBMP& copy,
                                  const Confirm& confirmed)
{
    record = ParseRecord(text);
    recordText = text;
    setWindowTitle(QString::fromStdString(messages.MsgDistortion + record.name));
    for (std::size_t k = 0; k < 6; ++k) {
        const DeformationConstant& c = record.constants[k];
        labels[k]->setText(QString::fromStdString(c.label));
        labels[k]->setEnabled(c.used);
        scrollBars[k]->setEnabled(c.used);
        scrollBars[k]->setValue(c.defaultValue);
    }
    ShowValues();
    // A long formula shows from its start.
    edit1->setText(QString::fromStdString(record.firstFormula));
    edit1->setCursorPosition(0);
    edit2->setText(QString::fromStdString(record.secondFormula));
    edit2->setCursorPosition(0);
    const std::string& prefix = record.source ? messages.MsgSource : messages.MsgDestination;
    label7->setText(QString::fromStdString(prefix + (record.cartesian ? "X=" : "T=")));
    label8->setText(QString::fromStdString(prefix + (record.cartesian ? "Y=" : "R=")));
    FitLabels();
    // A formula that does not compile is reported at the first preview; the
    // dialog opens anyway.
    return Open(target, copy, confirmed);
}

void TEffectForm::ShowValues()
{
    for (std::size_t k = 0; k < 6; ++k)
        values[k]->setText(QString::number(scrollBars[k]->value()));
}

DeformationParams TEffectForm::CurrentParams() const
{
    DeformationParams params = record.Params();
    for (std::size_t k = 0; k < 6; ++k)
        params.constants[k] = scrollBars[k]->value();
    return params;
}

void TEffectForm::ShowIncorrectFormula(char label)
{
    QMessageBox::information(this, QString::fromUtf8(ProductTitle),
                             QString::fromStdString(messages.MsgIncorrectFormula + label));
    reject();
}

// The formulas recompiled for the target's size and the source preview (A)
// warped into the target preview (B).
void TEffectForm::DrawPreview(DialogPreview& preview)
{
    WarpOptions options = EditorWarpOptions();
    options.quality = Quality();
    const WarpResult result = krt::RenderPreview(CurrentParams(), Target()->Width, Target()->Height, preview.A(),
                                                 preview.B(), colors.Back(), options);
    if (result.status == WarpStatus::IncorrectFormula)
        ShowIncorrectFormula(result.failedFormula);
}

// "OK": the warp goes into a buffer of its own, so that a warp cancelled
// half way leaves the document, the selection and the undo history as they
// were; only a finished warp is committed (the undo snapshot) and replaces
// the target.
void TEffectForm::OkClicked()
{
    if (!Target())
        return;
    const DeformationParams params = CurrentParams();
    WarpOptions options = EditorWarpOptions();
    options.quality = Quality();
    CompiledDeformation check;
    if (const char label = CompileDeformation(params, Target()->Width, Target()->Height, options, check)) {
        MarkApplied();
        ShowIncorrectFormula(label);
        return;
    }
    TFastBMP result(Target()->Width, Target()->Height);
    QProgressDialog progress(windowTitle(), CancelButton()->text(), 0, ProgressSteps, this);
    progress.setObjectName("WarpProgress");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(progressDelay);
    options.progress = [&progress](double share) {
        progress.setValue(static_cast<int>(share * ProgressSteps));
        return !progress.wasCanceled();
    };
    // While the warp runs, the progress window (once shown) keeps the editor
    // painted and takes all input but its Cancel.
    const WarpResult warped = krt::ApplyDeformation(result, *Source(), params, colors.Back(), options);
    if (warped.status != WarpStatus::Done)
        return;
    Commit();
    *Target() = std::move(result);
    accept();
}

} // namespace krt
