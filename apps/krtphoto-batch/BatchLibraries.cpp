#include "BatchCommands.h"

#include "core/DataPaths.h"
#include "deform/DeformationRecord.h"
#include "lang/TextEncoding.h"
#include "library/LibraryFile.h"
#include "library/LibraryTable.h"

#include <algorithm>

namespace krt::batch {
namespace {

// How many single-character edits turn one text into the other.
std::size_t EditDistance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

const LibrarySet DeformationLibraries{"effecte.prg", "effect.prg", "ueffect.prg", "deformation", "krtphoto-batch list"};
const LibrarySet FilterLibraries{"filtere.prg", "filter.prg", "ufilter.prg", "filter", "krtphoto-batch list --filters"};

bool ParseRussian(const std::string& value)
{
    if (value != "en" && value != "ru")
        throw UsageError("--language is en or ru, not \"" + value + "\"");
    return value == "ru";
}

int ParseInRange(const std::string& option, const std::string& value, int low, int high)
{
    const int n = ParseInteger(option, value);
    if (n < low || n > high)
        throw UsageError(option + " lies between " + std::to_string(low) + " and " + std::to_string(high) + ", not " +
                         value);
    return n;
}

std::vector<std::string> LibraryRecords(const LibrarySet& set, const std::optional<std::string>& library,
                                        bool russianFirst)
{
    if (library) {
        LibraryContents contents = ReadLibraryFile(*library);
        if (!contents.problems.empty() && (!contents.complete || contents.records.empty()))
            throw UsageError(contents.problems.front());
        return std::move(contents.records);
    }
    const DataPaths paths = DataPaths::FromEnvironment();
    std::vector<std::string> records;
    const char* builtins[] = {set.english, set.russian};
    if (russianFirst)
        std::swap(builtins[0], builtins[1]);
    for (const std::string& path : {paths.Program(builtins[0]), paths.Program(builtins[1]), paths.User(set.user)}) {
        LibraryContents contents = ReadLibraryFile(path);
        records.insert(records.end(), contents.records.begin(), contents.records.end());
    }
    return records;
}

std::string FindRecord(const LibrarySet& set, const std::string& name, const std::vector<std::string>& records)
{
    for (const std::string& record : records)
        if (RecordName(record) == name)
            return record;
    const std::string folded = FoldCase(name);
    std::vector<std::string> matches, close;
    for (const std::string& record : records) {
        const std::string other = FoldCase(RecordName(record));
        if (other == folded)
            matches.push_back(record);
        else if (!other.empty() && (other.find(folded) != std::string::npos ||
                                    folded.find(other) != std::string::npos || EditDistance(other, folded) <= 2))
            close.push_back(RecordName(record));
    }
    if (matches.size() == 1)
        return matches.front();
    for (const std::string& match : matches)
        close.push_back(RecordName(match));
    std::string message = "no " + std::string(set.kind) + " is called \"" + name + "\"";
    if (!close.empty()) {
        message += "; did you mean";
        for (std::size_t i = 0; i < close.size(); ++i)
            message += (i == 0 ? " \"" : ", \"") + close[i] + "\"";
        message += "?";
    }
    throw UsageError(message + " (" + set.listing + " shows them all)");
}

} // namespace krt::batch
