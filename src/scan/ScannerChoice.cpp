#include "scan/ScannerChoice.h"

#include "core/AtomicFile.h"
#include "core/FileReading.h"
#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "core/Text.h"

namespace krt {
namespace {

constexpr OwnMessage CannotRemember{"The chosen scanner cannot be remembered in {1}: {2}",
                                    "Не удаётся запомнить выбранный сканер в {1}: {2}"};

} // namespace

std::string ScannerInfo::Label() const
{
    std::string label = vendor;
    if (!model.empty())
        label += (label.empty() ? "" : " ") + model;
    return label.empty() ? name : label + " (" + name + ")";
}

std::string LoadChosenScanner(const std::string& path)
{
    try {
        const std::string text = ReadTextFile(path, 4096);
        return TrimBlanks(text.substr(0, text.find('\n')));
    } catch (const std::exception&) {
        return {};
    }
}

void SaveChosenScanner(const std::string& path, const std::string& name)
{
    try {
        WriteWholeFile(path, name + "\n");
    } catch (const std::exception& e) {
        throw KrtError(Say(CannotRemember, {path, e.what()}));
    }
}

std::string ScannerToUse(const std::vector<ScannerInfo>& devices, const std::string& chosen)
{
    for (const ScannerInfo& device : devices)
        if (device.name == chosen)
            return chosen;
    return devices.empty() ? std::string() : devices.front().name;
}

} // namespace krt
