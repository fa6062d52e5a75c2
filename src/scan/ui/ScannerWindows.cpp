#include "scan/ui/ScannerWindows.h"

#include "core/KrtError.h"
#include "scan/Acquisition.h"
#include "scan/SaneScanner.h"
#include "scan/ScannerChoice.h"

namespace krt {

ScannerWindows::ScannerWindows(std::string file, QWidget* window)
    : QObject(window), startService(StartSane), choiceFile(std::move(file))
{
    scanForm = new TScanForm(window);
    sourceForm = new TSourceForm(window);
}

std::vector<ScannerInfo> ScannerWindows::Devices(ScannerService& service) const
{
    std::vector<ScannerInfo> devices = service.Devices();
    if (devices.empty())
        throw KrtError(NoScannerMessage());
    return devices;
}

std::optional<TFastBMP> ScannerWindows::Acquire()
{
    const std::unique_ptr<ScannerService> service = startService();
    const std::vector<ScannerInfo> devices = Devices(*service);
    const std::string name = ScannerToUse(devices, LoadChosenScanner(choiceFile));
    std::string label = name;
    for (const ScannerInfo& device : devices)
        if (device.name == name)
            label = device.Label();
    std::unique_ptr<ScannerSession> scanner;
    try {
        scanner = service->Open(name);
    } catch (const ScanError& e) {
        throw KrtError(CannotOpenMessage(label, e.what()));
    }
    return scanForm->Scan(*scanner, label);
}

void ScannerWindows::SelectSource()
{
    const std::unique_ptr<ScannerService> service = startService();
    const std::vector<ScannerInfo> devices = Devices(*service);
    std::vector<std::string> labels;
    for (const ScannerInfo& device : devices)
        labels.push_back(device.Label());
    sourceForm->Choose(
        labels, [&](int index) { SaveChosenScanner(choiceFile, devices[static_cast<std::size_t>(index)].name); });
}

} // namespace krt
