#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace krt {

// A library file holds its number of records on line 1 and one record per line
// after it, in Windows-1251 with CR LF line ends (LF alone is read too).
constexpr int MaxLibraryRecords = 127;
constexpr int MaxLibraryLineLength = 198;
// Far more than 127 records of 198 characters; a larger file is not read.
constexpr std::uintmax_t MaxLibraryFileBytes = 1 << 20;

struct LibraryContents {
    std::vector<std::string> records; // UTF-8
    // What was wrong with the file, for a message; empty when it read cleanly.
    std::vector<std::string> problems;
    // Whether every record the file holds is in `records`: only then may the
    // file be rewritten from them. A missing file is complete and empty.
    bool complete = true;
    // The bytes after the announced records (which readers ignore); a rewrite
    // carries them through unchanged.
    std::string trailing;
};

// Reads the records a library file announces. A missing file gives no records
// and a problem. An unreadable file, a count that is not a number or exceeds
// MaxLibraryRecords, gives no records, a problem, and is not complete; records
// longer than MaxLibraryLineLength are skipped with a problem (not complete);
// a file that ends early gives the records it has. Blanks around the count
// are ignored. A last line without a line end keeps all its characters but a
// closing CR. An empty file (nothing but blanks and line ends) is a complete,
// empty library.
LibraryContents ReadLibraryFile(const std::string& path);

// Writes a library file in full (replacing the old one only once it is all
// written, keeping its permissions), the records followed by `trailing`. With
// `keepBackup` the previous file is kept as path + ".bak". Throws KrtError when
// a record cannot be stored: too many, too long, holding a line break or
// characters Windows-1251 lacks, or a disk error; the old file then stays.
void WriteLibraryFile(const std::string& path, const std::vector<std::string>& records,
                      const std::string& trailing = {}, bool keepBackup = false);

// Why a record cannot be stored in a library file, or empty when it can.
std::string LibraryRecordProblem(const std::string& record);

} // namespace krt
