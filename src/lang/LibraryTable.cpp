#include "lang/LibraryTable.h"

#include "core/KrtError.h"
#include "lang/LibraryFile.h"

namespace krt {

LibraryTable::LibraryTable(std::string builtin, std::string user, int slots, std::string recordKind)
    : builtinPath(std::move(builtin)), userPath(std::move(user)), capacity(slots), kind(std::move(recordKind))
{
}

std::vector<std::string> LibraryTable::Load()
{
    records.clear();
    LibraryContents builtin = ReadLibraryFile(builtinPath);
    LibraryContents user = ReadLibraryFile(userPath);
    std::vector<std::string> problems = builtin.problems;
    problems.insert(problems.end(), user.problems.begin(), user.problems.end());
    userComplete = user.complete;
    userProblem = user.problems.empty() ? std::string() : user.problems.front();
    userTrailing = user.trailing;
    for (std::vector<std::string>* source : {&builtin.records, &user.records}) {
        for (std::string& record : *source) {
            if (records.size() >= static_cast<std::size_t>(capacity)) {
                const std::string full = "Only the first " + std::to_string(capacity) + " " + kind +
                                         " of the libraries are offered.";
                problems.push_back(full);
                if (source == &user.records) {
                    userComplete = false;
                    userProblem = full;
                }
                break;
            }
            records.push_back(std::move(record));
        }
        if (source == &builtin.records)
            builtinCount = static_cast<int>(records.size());
    }
    return problems;
}

std::vector<std::string> LibraryTable::UserRecords() const { return {records.begin() + builtinCount, records.end()}; }

void LibraryTable::CheckRewritable() const
{
    if (!userComplete)
        throw KrtError("Your library \"" + userPath + "\" was not read completely, so it is left as it is. " +
                       userProblem + " Mend the file (or move it away), then start the editor again.");
}

void LibraryTable::SaveUser() const
{
    CheckRewritable();
    WriteLibraryFile(userPath, UserRecords(), userTrailing);
}

void LibraryTable::Rewrite(const std::vector<std::string>& userRecords, bool dropsRecords)
{
    WriteLibraryFile(userPath, userRecords, userTrailing, dropsRecords);
    records.resize(static_cast<std::size_t>(builtinCount));
    records.insert(records.end(), userRecords.begin(), userRecords.end());
}

void LibraryTable::Add(const std::string& record)
{
    CheckRewritable();
    if (Count() >= capacity)
        throw KrtError("The menu already holds " + std::to_string(capacity) + " " + kind +
                       ": delete one of yours before adding another.");
    std::vector<std::string> user = UserRecords();
    if (user.size() >= static_cast<std::size_t>(MaxLibraryRecords))
        throw KrtError("Your library already holds " + std::to_string(MaxLibraryRecords) + " " + kind +
                       ": delete one before adding another.");
    if (const std::string problem = LibraryRecordProblem(record); !problem.empty())
        throw KrtError(problem);
    user.push_back(record);
    Rewrite(user, false);
}

void LibraryTable::Delete(int index)
{
    if (index < builtinCount || index >= Count())
        throw KrtError("Only your own " + kind + " can be deleted.");
    CheckRewritable();
    std::vector<std::string> user = UserRecords();
    user.erase(user.begin() + (index - builtinCount));
    Rewrite(user, true);
}

} // namespace krt
