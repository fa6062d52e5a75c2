#pragma once

#include "core/FastBMP.h"
#include "scan/Scanner.h"
#include "scan/ui/ScanForm.h"
#include "scan/ui/SourceForm.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace krt {

// The two scanner commands' windows: choosing the scanner, and the scan
// dialog. The scanner service is started for each command and shut down
// after it.
class ScannerWindows : public QObject {
    Q_OBJECT
public:
    // `choiceFile` remembers the chosen scanner between runs.
    ScannerWindows(std::string choiceFile, QWidget* window);

    // One picture from the chosen scanner (else the first): the scan dialog
    // on it. Nothing when the user cancelled; KrtError with the reason when
    // there is no scanner or it fails.
    std::optional<TFastBMP> Acquire();
    // "Выбрать источник": lists the scanners and remembers the chosen one.
    void SelectSource();

    TScanForm* ScanForm() const { return scanForm; }
    TSourceForm* SourceForm() const { return sourceForm; }
    // Starts the scanner service (SANE; tests give another).
    std::function<std::unique_ptr<ScannerService>()> startService;
    // Where the chosen scanner is remembered.
    std::string choiceFile;

private:
    std::vector<ScannerInfo> Devices(ScannerService& service) const;

    TScanForm* scanForm = nullptr;
    TSourceForm* sourceForm = nullptr;
};

} // namespace krt
