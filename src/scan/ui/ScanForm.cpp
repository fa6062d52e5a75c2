#include "scan/ui/ScanForm.h"

#include "core/KrtError.h"
#include "core/ui/Controls.h"
#include "core/ui/RunGuarded.h"
#include "scan/Acquisition.h"

#include <QMetaObject>

#include <cmath>

namespace krt {
namespace {

constexpr const char* AreaOptions[4] = {"tl-x", "tl-y", "br-x", "br-y"};
constexpr int ProgressSteps = 1000;

const ScanOptionInfo* FindOption(const std::vector<ScanOptionInfo>& options, const char* name)
{
    for (const ScanOptionInfo& o : options)
        if (o.name == name && o.active)
            return &o;
    return nullptr;
}

double Number(const OptionValue& value)
{
    if (const double* n = std::get_if<double>(&value))
        return *n;
    if (const bool* b = std::get_if<bool>(&value))
        return *b ? 1 : 0;
    return 0;
}

} // namespace

TScanForm::TScanForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName("ScanForm");
    setWindowTitle(QString::fromUtf8("Сканирование"));
    setFixedSize(330, 268);
    label1 = AddControl<QLabel>(this, {"Label1", {8, 6, 314, 20}});
    label2 = AddControl<QLabel>(this, {"Label2", {8, 34, 120, 22}, "Режим"});
    comboBox1 = AddControl<QComboBox>(this, {"ComboBox1", {134, 34, 188, 24}});
    label3 = AddControl<QLabel>(this, {"Label3", {8, 64, 120, 22}, "Разрешение, dpi"});
    // A resolution range takes a number, a list of resolutions a choice.
    spinEdit1 = AddControl<QSpinBox>(this, {"SpinEdit1", {134, 64, 188, 24}});
    comboBox2 = AddControl<QComboBox>(this, {"ComboBox2", {134, 64, 188, 24}});
    groupBox1 = AddControl<QGroupBox>(this, {"GroupBox1", {8, 94, 314, 84}, "Область сканирования"});
    const char* sides[4] = {"Слева", "Сверху", "Справа", "Снизу"};
    for (std::size_t k = 0; k < 4; ++k) {
        const int left = 154 * static_cast<int>(k % 2), top = 22 + 28 * static_cast<int>(k / 2);
        areaLabels[k] =
            AddControl<QLabel>(groupBox1, {QString("Label%1").arg(k + 4), {8 + left, top, 56, 22}, sides[k]});
        area[k] = AddControl<QDoubleSpinBox>(groupBox1, {QString("Edit%1").arg(k + 1), {66 + left, top, 84, 24}});
    }
    progressBar1 = AddControl<QProgressBar>(this, {"ProgressBar1", {8, 190, 314, 22}});
    progressBar1->setRange(0, ProgressSteps);
    button1 = AddControl<QPushButton>(this, {"Button1", {8, 232, 120, 27}, "Сканировать"});
    button1->setDefault(true);
    button2 = AddControl<QPushButton>(this, {"Button2", {202, 232, 120, 27}, "Отмена"});
    connect(button1, &QPushButton::clicked, this, [this] { RunGuarded([this] { StartScan(); }); });
    connect(button2, &QPushButton::clicked, this, &TScanForm::reject);
    // A new mode can change what the other settings offer: the scanner takes
    // it at once and the dialog shows the others afresh.
    connect(comboBox1, &QComboBox::textActivated, this, [this](const QString& mode) {
        RunGuarded([&] {
            if (scanner) {
                scanner->Set("mode", mode.toStdString());
                ShowSettings();
            }
        });
    });
}

TScanForm::~TScanForm()
{
    if (worker.joinable()) {
        cancel = true;
        scanner->Cancel();
        worker.join();
    }
}

std::optional<TFastBMP> TScanForm::Scan(ScannerSession& session, const std::string& label)
{
    scanner = &session;
    result.reset();
    failure = nullptr;
    label1->setText(QString::fromStdString(label));
    ShowSettings();
    RestoreSettings();
    progressBar1->setValue(0);
    progressBar1->setVisible(false);
    button1->setEnabled(true);
    // Enter scans, whatever had the focus when the dialog last closed.
    button1->setFocus(Qt::OtherFocusReason);
    exec();
    scanner = nullptr;
    if (failure)
        std::rethrow_exception(std::exchange(failure, nullptr));
    return std::exchange(result, std::nullopt);
}

void TScanForm::ShowSettings()
{
    const std::vector<ScanOptionInfo> options = scanner->Options();
    const ScanOptionInfo* mode = FindOption(options, "mode");
    label2->setVisible(mode);
    comboBox1->setVisible(mode);
    if (mode) {
        comboBox1->clear();
        for (const std::string& text : mode->texts)
            comboBox1->addItem(QString::fromStdString(text));
        comboBox1->setCurrentText(QString::fromStdString(std::get<std::string>(scanner->Get("mode"))));
    }
    const ScanOptionInfo* resolution = FindOption(options, "resolution");
    const bool range = resolution && resolution->minimum && resolution->maximum;
    label3->setVisible(resolution);
    spinEdit1->setVisible(range);
    comboBox2->setVisible(resolution && !range);
    if (resolution) {
        const int current = static_cast<int>(std::lround(Number(scanner->Get("resolution"))));
        if (range) {
            spinEdit1->setRange(static_cast<int>(std::ceil(*resolution->minimum)),
                                static_cast<int>(std::floor(*resolution->maximum)));
            spinEdit1->setSingleStep(std::max(1, static_cast<int>(std::lround(resolution->step.value_or(1)))));
            spinEdit1->setValue(current);
        } else {
            comboBox2->clear();
            for (double value : resolution->numbers)
                comboBox2->addItem(QString::number(std::lround(value)));
            comboBox2->setCurrentText(QString::number(current));
        }
    }
    bool anyArea = false;
    for (std::size_t k = 0; k < 4; ++k) {
        const ScanOptionInfo* side = FindOption(options, AreaOptions[k]);
        areaLabels[k]->setVisible(side);
        area[k]->setVisible(side);
        if (!side)
            continue;
        anyArea = true;
        area[k]->setDecimals(side->type == ScanOptionInfo::Type::Fixed ? 1 : 0);
        area[k]->setRange(side->minimum.value_or(0), side->maximum.value_or(1e6));
        area[k]->setSuffix(side->unit.empty() ? QString() : " " + QString::fromStdString(side->unit));
        area[k]->setValue(Number(scanner->Get(AreaOptions[k])));
    }
    groupBox1->setVisible(anyArea);
}

void TScanForm::RememberSettings()
{
    if (comboBox1->isVisible())
        remembered.mode = comboBox1->currentText().toStdString();
    if (spinEdit1->isVisible())
        remembered.resolution = spinEdit1->value();
    else if (comboBox2->isVisible())
        remembered.resolution = comboBox2->currentText().toDouble();
    for (std::size_t k = 0; k < 4; ++k)
        if (area[k]->isVisible())
            remembered.area[k] = area[k]->value();
}

// The settings of the last opening go to the scanner, mode first (it can
// change what the others offer); what this scanner does not take is left as
// the scanner has it.
void TScanForm::RestoreSettings()
{
    const std::vector<ScanOptionInfo> options = scanner->Options();
    auto offer = [&](const char* name, const OptionValue& value) {
        if (!FindOption(options, name))
            return;
        try {
            scanner->Set(name, value);
        } catch (const ScanError&) {
        }
    };
    if (remembered.mode)
        offer("mode", *remembered.mode);
    if (remembered.resolution)
        offer("resolution", *remembered.resolution);
    for (std::size_t k = 0; k < 4; ++k)
        if (remembered.area[k])
            offer(AreaOptions[k], *remembered.area[k]);
    ShowSettings();
}

// The settings as the dialog shows them go to the scanner before it starts.
void TScanForm::ApplySettings()
{
    RememberSettings();
    if (remembered.mode && comboBox1->isVisible())
        scanner->Set("mode", *remembered.mode);
    if (remembered.resolution && (spinEdit1->isVisible() || comboBox2->isVisible()))
        scanner->Set("resolution", *remembered.resolution);
    for (std::size_t k = 0; k < 4; ++k)
        if (remembered.area[k] && area[k]->isVisible())
            scanner->Set(AreaOptions[k], *remembered.area[k]);
}

void TScanForm::StartScan()
{
    if (!scanner || worker.joinable())
        return;
    try {
        ApplySettings();
    } catch (const ScanError& e) {
        throw KrtError(CannotOpenMessage(label1->text().toStdString(), e.what()));
    }
    cancel = false;
    for (QWidget* control : std::initializer_list<QWidget*>{button1, comboBox1, spinEdit1, comboBox2, groupBox1})
        control->setEnabled(false);
    progressBar1->setValue(0);
    progressBar1->setVisible(true);
    worker = std::thread([this] {
        try {
            result = AcquireImage(*scanner, cancel, [this](double share) {
                QMetaObject::invokeMethod(
                    this, [this, share] { progressBar1->setValue(static_cast<int>(share * ProgressSteps)); },
                    Qt::QueuedConnection);
            });
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(
            this, [this] { Finished(); }, Qt::QueuedConnection);
    });
}

void TScanForm::Finished()
{
    worker.join();
    for (QWidget* control : std::initializer_list<QWidget*>{button1, comboBox1, spinEdit1, comboBox2, groupBox1})
        control->setEnabled(true);
    if (result)
        accept();
    else
        QDialog::reject();
}

// "Отмена" (or Escape): before the scan, closes the dialog; during it, stops
// the scanner, and the dialog closes when the scan has ended.
void TScanForm::reject()
{
    if (worker.joinable()) {
        cancel = true;
        scanner->Cancel();
        return;
    }
    if (scanner)
        RememberSettings();
    QDialog::reject();
}

} // namespace krt
