#pragma once

#include <string>
#include <vector>

namespace krt {

// A library file holds its number of records on line 1 and one record per line
// after it, in Windows-1251 with CR LF line ends (LF alone is read too).
constexpr int MaxLibraryRecords = 127;
constexpr int MaxLibraryLineLength = 198;

struct LibraryContents {
    std::vector<std::string> records; // UTF-8
    // What was wrong with the file, for a message; empty when it read cleanly.
    std::vector<std::string> problems;
};

// Reads the records a library file announces. A missing or unreadable file, a
// count that is not a number or exceeds MaxLibraryRecords, gives no records
// and a problem; records longer than MaxLibraryLineLength are skipped with a
// problem; a file that ends early gives the records it has. A last line
// without a line end keeps all its characters.
LibraryContents ReadLibraryFile(const std::string& path);

// Writes a library file in full (replacing the old one only once it is all
// written). Throws KrtError when a record cannot be stored: too many, too long,
// holding a line break or characters Windows-1251 lacks, or a disk error.
void WriteLibraryFile(const std::string& path, const std::vector<std::string>& records);

// Why a record cannot be stored in a library file, or empty when it can.
std::string LibraryRecordProblem(const std::string& record);

} // namespace krt
