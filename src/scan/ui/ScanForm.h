#pragma once

#include "core/FastBMP.h"
#include "scan/Scanner.h"

#include <QComboBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>

#include <array>
#include <atomic>
#include <exception>
#include <optional>
#include <string>
#include <thread>

namespace krt {

// The scan dialog: the scanner's main settings as its options offer them
// (mode, resolution, scan area in millimetres), "Сканировать" and "Отмена".
// The scan runs off the interface thread with a progress bar; "Отмена" then
// stops it at the scanner. Created once; each scan refills it.
class TScanForm : public QDialog {
    Q_OBJECT
public:
    explicit TScanForm(QWidget* parent = nullptr);
    ~TScanForm() override;

    // Shows the settings of an open scanner and, on "Сканировать", takes one
    // picture. Nothing when the user cancelled. Throws KrtError when the
    // scanner failed.
    std::optional<TFastBMP> Scan(ScannerSession& scanner, const std::string& label);

    QLabel* ScannerLabel() const { return label1; }
    QComboBox* ModeBox() const { return comboBox1; }
    QSpinBox* ResolutionEdit() const { return spinEdit1; }
    QComboBox* ResolutionList() const { return comboBox2; }
    QDoubleSpinBox* AreaEdit(int k) const { return area[static_cast<std::size_t>(k)]; } // left, top, right, bottom
    QProgressBar* Progress() const { return progressBar1; }
    QPushButton* ScanButton() const { return button1; }
    QPushButton* CancelButton() const { return button2; }
    bool Scanning() const { return worker.joinable(); }

    void reject() override;

private:
    void ShowSettings();
    void RememberSettings();
    void RestoreSettings();
    void ApplySettings();
    void StartScan();
    void Finished();

    QLabel* label1 = nullptr;
    QLabel* label2 = nullptr;
    QComboBox* comboBox1 = nullptr;
    QLabel* label3 = nullptr;
    QSpinBox* spinEdit1 = nullptr;
    QComboBox* comboBox2 = nullptr;
    QGroupBox* groupBox1 = nullptr;
    std::array<QLabel*, 4> areaLabels{};
    std::array<QDoubleSpinBox*, 4> area{};
    QProgressBar* progressBar1 = nullptr;
    QPushButton* button1 = nullptr;
    QPushButton* button2 = nullptr;

    // What the user set last in this run (mode, resolution, area), offered
    // again at the next opening where the scanner takes it.
    struct Settings {
        std::optional<std::string> mode;
        std::optional<double> resolution;
        std::array<std::optional<double>, 4> area;
    };
    Settings remembered;

    ScannerSession* scanner = nullptr;
    std::thread worker;
    std::atomic<bool> cancel{false};
    std::optional<TFastBMP> result;
    std::exception_ptr failure;
};

} // namespace krt
