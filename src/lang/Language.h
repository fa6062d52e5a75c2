#pragma once

#include "core/InterfaceLanguage.h"

#include <string>

namespace krt {

// Reads the first line of the language file: an upper-case "R" as its first
// character selects Russian, anything else English. A missing, unreadable or
// empty file gives English, the installer's default.
Language LoadLanguage(const std::string& path);

} // namespace krt
