#include "deform/DeformationTable.h"

#include "lang/LibraryFile.h"
#include "core/KrtError.h"

namespace krt {

DeformationTable::DeformationTable(std::string builtin, std::string user)
    : builtinPath(std::move(builtin)), userPath(std::move(user))
{
}

std::vector<std::string> DeformationTable::LoadDeformationMenu()
{
    records.clear();
    LibraryContents builtin = ReadLibraryFile(builtinPath);
    LibraryContents user = ReadLibraryFile(userPath);
    std::vector<std::string> problems = builtin.problems;
    problems.insert(problems.end(), user.problems.begin(), user.problems.end());
    for (std::vector<std::string>* source : {&builtin.records, &user.records}) {
        for (std::string& record : *source) {
            if (records.size() >= static_cast<std::size_t>(Capacity)) {
                problems.push_back("Only the first " + std::to_string(Capacity) +
                                   " deformations of the libraries are offered.");
                break;
            }
            records.push_back(std::move(record));
        }
        if (source == &builtin.records)
            builtinCount = static_cast<int>(records.size());
    }
    return problems;
}

std::vector<std::string> DeformationTable::UserRecords() const
{
    return {records.begin() + builtinCount, records.end()};
}

void DeformationTable::SaveUserDeformations() const { WriteLibraryFile(userPath, UserRecords()); }

void DeformationTable::Rewrite(const std::vector<std::string>& userRecords)
{
    WriteLibraryFile(userPath, userRecords);
    records.resize(static_cast<std::size_t>(builtinCount));
    records.insert(records.end(), userRecords.begin(), userRecords.end());
}

void DeformationTable::AddDeformation(const std::string& record)
{
    if (DeformationCount() >= Capacity)
        throw KrtError("The menu already holds " + std::to_string(Capacity) +
                       " deformations: delete one of yours before adding another.");
    std::vector<std::string> user = UserRecords();
    if (user.size() >= static_cast<std::size_t>(MaxLibraryRecords))
        throw KrtError("Your library already holds " + std::to_string(MaxLibraryRecords) +
                       " deformations: delete one before adding another.");
    if (const std::string problem = LibraryRecordProblem(record); !problem.empty())
        throw KrtError(problem);
    user.push_back(record);
    Rewrite(user);
}

void DeformationTable::DeleteDeformation(int index)
{
    if (index < builtinCount || index >= DeformationCount())
        throw KrtError("Only your own deformations can be deleted.");
    std::vector<std::string> user = UserRecords();
    user.erase(user.begin() + (index - builtinCount));
    Rewrite(user);
}

} // namespace krt
