#include "lang/LibraryFile.h"

#include "core/AtomicFile.h"
#include "core/FileReading.h"
#include "core/Integer.h"
#include "core/KrtError.h"
#include "core/Text.h"
#include "lang/TextEncoding.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace krt {
namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A line's text without its line end, and where the next line starts.
struct Line {
    std::string text;
    std::size_t end;
};

std::vector<Line> SplitLines(const std::string& bytes)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool terminated = end != std::string::npos;
        if (!terminated)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        if (terminated && !line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back({std::move(line), std::min(end + 1, bytes.size())});
        start = end + 1;
    }
    return lines;
}

} // namespace

LibraryContents ReadLibraryFile(const std::string& path)
{
    LibraryContents contents;
    auto refuse = [&](const std::string& why) {
        contents.complete = false;
        contents.problems.push_back("The library " + Quoted(path) + " " + why);
        return contents;
    };
    std::string bytes;
    try {
        bytes = ReadTextFile(path, MaxLibraryFileBytes);
    } catch (const std::system_error& e) {
        if (e.code() != std::errc::no_such_file_or_directory)
            return refuse(std::string("cannot be read: ") + e.what() + ".");
        contents.problems.push_back("The library " + Quoted(path) + " is missing.");
        return contents;
    } catch (const std::runtime_error& e) {
        return refuse(std::string("cannot be read: ") + e.what() + ".");
    }
    const std::vector<Line> lines = SplitLines(bytes);
    const std::optional<int> announced = lines.empty() ? std::nullopt : ToInteger(TrimBlanks(lines[0].text));
    const int count = announced.value_or(-1);
    if (count < 0 || count > MaxLibraryRecords) {
        contents.complete = false;
        contents.problems.push_back(count < 0 ? "The library " + Quoted(path) +
                                                    " does not start with the number of its records."
                                              : "The library " + Quoted(path) + " announces " +
                                                    std::to_string(count) + " records; a library holds at most " +
                                                    std::to_string(MaxLibraryRecords) + ".");
        return contents;
    }
    std::size_t next = lines.empty() ? bytes.size() : lines[0].end;
    for (int i = 1; i <= count; ++i) {
        if (i >= static_cast<int>(lines.size())) {
            contents.problems.push_back("The library " + Quoted(path) + " ends after " + std::to_string(i - 1) +
                                        " of its " + std::to_string(count) + " records.");
            break;
        }
        const Line& line = lines[static_cast<std::size_t>(i)];
        next = line.end;
        if (line.text.size() > static_cast<std::size_t>(MaxLibraryLineLength)) {
            contents.complete = false;
            contents.problems.push_back("Record " + std::to_string(i) + " of the library " + Quoted(path) +
                                        " is longer than " + std::to_string(MaxLibraryLineLength) +
                                        " characters and was left out.");
            continue;
        }
        contents.records.push_back(Cp1251ToUtf8(line.text));
    }
    contents.trailing = bytes.substr(std::min(next, bytes.size()));
    return contents;
}

std::string LibraryRecordProblem(const std::string& record)
{
    if (record.find_first_of("\r\n") != std::string::npos)
        return "A record cannot hold a line break.";
    const auto encoded = Utf8ToCp1251(record);
    if (!encoded)
        return "The record holds characters that a library file cannot store (Latin and Cyrillic letters, digits "
               "and common signs can be stored).";
    if (encoded->size() > static_cast<std::size_t>(MaxLibraryLineLength))
        return "The record is " + std::to_string(encoded->size()) + " characters long; a library record holds at most " +
               std::to_string(MaxLibraryLineLength) + ".";
    return {};
}

void WriteLibraryFile(const std::string& path, const std::vector<std::string>& records, const std::string& trailing,
                      bool keepBackup)
{
    if (records.size() > static_cast<std::size_t>(MaxLibraryRecords))
        throw KrtError("Cannot save " + Quoted(path) + ": a library holds at most " +
                       std::to_string(MaxLibraryRecords) + " records.");
    std::string bytes = std::to_string(records.size()) + "\r\n";
    for (const std::string& record : records) {
        if (const std::string problem = LibraryRecordProblem(record); !problem.empty())
            throw KrtError("Cannot save " + Quoted(path) + ": " + problem);
        bytes += *Utf8ToCp1251(record) + "\r\n";
    }
    bytes += trailing;
    try {
        AtomicFile file(path);
        std::error_code missing;
        if (keepBackup && std::filesystem::exists(path, missing))
            std::filesystem::copy_file(path, path + ".bak", std::filesystem::copy_options::overwrite_existing);
        file.Write(bytes.data(), bytes.size());
        file.Commit(true);
    } catch (const std::exception& e) {
        throw KrtError("Cannot save " + Quoted(path) + ": " + e.what() + ".");
    }
}

} // namespace krt
