#pragma once

#include "scan/Scanner.h"

#include <string>
#include <vector>

namespace krt {

// The scanner the user chose with "Выбрать источник", kept in a file of the
// user's configuration folder; empty when none was chosen or the file cannot
// be read.
std::string LoadChosenScanner(const std::string& path);
// Throws KrtError naming the file when it cannot be written.
void SaveChosenScanner(const std::string& path, const std::string& name);

// The scanner a scan uses: the chosen one while it is there, else the first.
// Empty when there is none.
std::string ScannerToUse(const std::vector<ScannerInfo>& devices, const std::string& chosen);

} // namespace krt
