#pragma once

#include "core/FastBMP.h"
#include "scan/Scanner.h"

#include <atomic>
#include <functional>
#include <optional>

namespace krt {

// Takes one picture from an open scanner: starts it, reads every frame (one,
// or three for a three-pass colour scanner) and puts them together. Nothing
// when the scan was cancelled — by `cancel` (checked between reads; the
// scanner is told at once) or at the scanner. `progress` hears the share
// read so far (0..1). Throws KrtError with a message for the user when the
// scanner fails or sends what the editor cannot read; the scanner is always
// left idle.
std::optional<TFastBMP> AcquireImage(ScannerSession& scanner, const std::atomic<bool>& cancel,
                                     const std::function<void(double share)>& progress = {});

// The messages of the scanner commands, in the interface language.
std::string NoScannerMessage();
std::string CannotOpenMessage(const std::string& scanner, const std::string& reason);
std::string ServiceMessage(const std::string& reason);

} // namespace krt
