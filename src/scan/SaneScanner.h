#pragma once

#include "scan/Scanner.h"

#include <memory>

namespace krt {

// The scanner service of the system, SANE. Started when made and shut down
// when destroyed, so nothing of it stays loaded between commands. Throws
// KrtError when SANE cannot be started. Only local scanners are listed (no
// slow search of the network).
std::unique_ptr<ScannerService> StartSane();

} // namespace krt
