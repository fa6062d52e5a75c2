#include "deform/ui/EffectForm.h"

#include "core/Product.h"
#include "core/ui/KeyboardSlider.h"
#include "core/ui/RunGuarded.h"
#include "deform/formula/Prepare.h"
#include "document/Undo.h"

#include <QFrame>
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

WarpOptions EditorWarpOptions()
{
    WarpOptions options;
    options.decimalSeparator = LocaleDecimalSeparator();
    return options;
}

} // namespace

TEffectForm::TEffectForm(Editor& ed, QWidget* parent) : QDialog(parent), editor(ed)
{
    setObjectName("EffectForm");
    setWindowTitle(QString::fromUtf8("Деформация"));
    for (int k = 0; k < 6; ++k) {
        auto* label = new QLabel(this);
        label->setObjectName(QString("Label%1").arg(k + 1));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* bar = NewSlider(this, qPrintable(QString("ScrollBar%1").arg(k + 1)), 100, 10);
        auto* value = new QLabel("0", this);
        value->setObjectName(QString("Label%1").arg(k + 9));
        connect(bar, &QScrollBar::valueChanged, this, [this] { RunGuarded([this] { RenderPreview(); }); });
        labels[static_cast<std::size_t>(k)] = label;
        scrollBars[static_cast<std::size_t>(k)] = bar;
        values[static_cast<std::size_t>(k)] = value;
    }
    label7 = new QLabel(this);
    label7->setObjectName("Label7");
    label7->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit1 = new QLineEdit(this);
    edit1->setObjectName("Edit1");
    edit1->setReadOnly(true);
    label8 = new QLabel(this);
    label8->setObjectName("Label8");
    label8->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    edit2 = new QLineEdit(this);
    edit2->setObjectName("Edit2");
    edit2->setReadOnly(true);

    bevel = new QFrame(this);
    bevel->setObjectName("Bevel1");
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    image1 = new BufferView(this);
    image1->setObjectName("Image1");

    button1 = new QPushButton("OK", this);
    button1->setObjectName("Button1");
    button1->setDefault(true);
    button2 = new QPushButton(QString::fromUtf8("Отмена"), this);
    button2->setObjectName("Button2");
    connect(button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { ApplyDeformation(); }); });
    connect(button2, &QPushButton::clicked, this, &QDialog::reject);
    LayOut(LabelWidth);
}

// The labels are right-aligned in a column `labelWidth` wide (at least the
// window's 100 pixels); the sliders, values, formulas, buttons and preview
// follow it, and the window grows by what the column grew.
void TEffectForm::LayOut(int labelWidth)
{
    const int shift = labelWidth - LabelWidth;
    setFixedSize(519 + shift, 209);
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
    bevel->setGeometry(SurfaceLeft + shift - 1, 1, PreviewSurfaceWidth + 2, PreviewSurfaceHeight + 2);
    image1->setGeometry(SurfaceLeft + shift, 2, PreviewSurfaceWidth, PreviewSurfaceHeight);
    button1->setGeometry(108 + shift, 186, 88, 22);
    button2->setGeometry(206 + shift, 186, 88, 22);
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

bool TEffectForm::ShowDeformation(const std::string& text, TFastBMP& target, const TFastBMP& copy)
{
    settingUp = true;
    dialogOK = false;
    record = ParseRecord(text);
    destination = &target;
    source = &copy;
    setWindowTitle(QString::fromStdString(editor.messages.MsgDistortion + record.name));
    for (std::size_t k = 0; k < 6; ++k) {
        const DeformationConstant& c = record.constants[k];
        labels[k]->setText(QString::fromStdString(c.label));
        labels[k]->setEnabled(c.used);
        scrollBars[k]->setEnabled(c.used);
        scrollBars[k]->setValue(c.defaultValue);
    }
    geometry = FitPreview(target, sourcePreview, targetPreview);
    // A long formula shows from its start.
    edit1->setText(QString::fromStdString(record.firstFormula));
    edit1->setCursorPosition(0);
    edit2->setText(QString::fromStdString(record.secondFormula));
    edit2->setCursorPosition(0);
    const std::string& prefix = record.source ? editor.messages.MsgSource : editor.messages.MsgDestination;
    label7->setText(QString::fromStdString(prefix + (record.cartesian ? "X=" : "T=")));
    label8->setText(QString::fromStdString(prefix + (record.cartesian ? "Y=" : "R=")));
    FitLabels();
    settingUp = false;
    // A formula that does not compile is reported here; the dialog opens anyway.
    RenderPreview();
    exec();
    destination = nullptr;
    source = nullptr;
    return dialogOK;
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
                             QString::fromStdString(editor.messages.MsgIncorrectFormula + label));
    reject();
}

void TEffectForm::RenderPreview()
{
    for (std::size_t k = 0; k < 6; ++k)
        values[k]->setText(QString::number(scrollBars[k]->value()));
    if (settingUp || !destination)
        return;
    const WarpResult result = krt::RenderPreview(CurrentParams(), destination->Width, destination->Height,
                                                 sourcePreview, targetPreview, editor.settings.BackColor,
                                                 EditorWarpOptions());
    surface.Allocate(PreviewSurfaceWidth, PreviewSurfaceHeight);
    surface.Fill(Black);
    targetPreview.CopyBlockInto(surface, geometry.offsetX, geometry.offsetY, targetPreview.Width,
                                targetPreview.Height, 0, 0);
    image1->Show(surface);
    if (result.status == WarpStatus::IncorrectFormula)
        ShowIncorrectFormula(result.failedFormula);
}

// "OK": the warp goes into a buffer of its own, so that a warp cancelled
// half way leaves the document, the selection and the undo history as they
// were; only a finished warp takes the undo snapshot and replaces the target.
void TEffectForm::ApplyDeformation()
{
    if (!destination)
        return;
    const DeformationParams params = CurrentParams();
    WarpOptions options = EditorWarpOptions();
    CompiledDeformation check;
    if (const char label = CompileDeformation(params, destination->Width, destination->Height, options, check)) {
        dialogOK = true;
        ShowIncorrectFormula(label);
        return;
    }
    TFastBMP result(destination->Width, destination->Height);
    QProgressDialog progress(windowTitle(), button2->text(), 0, ProgressSteps, this);
    progress.setObjectName("WarpProgress");
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(progressDelay);
    options.progress = [&progress](double share) {
        progress.setValue(static_cast<int>(share * ProgressSteps));
        return !progress.wasCanceled();
    };
    // While the warp runs, the progress window (once shown) keeps the editor
    // painted and takes all input but its Cancel.
    const WarpResult warped =
        krt::ApplyDeformation(result, *source, params, editor.settings.BackColor, options);
    if (warped.status != WarpStatus::Done)
        return;
    PushUndo(editor);
    *destination = std::move(result);
    dialogOK = true;
    accept();
}

} // namespace krt
