#include "library/LibraryTable.h"

#include "core/KrtError.h"
#include "library/LibraryFile.h"

namespace krt {
namespace {

constexpr OwnMessage OnlyTheFirst{"Only the first {1} {2} of the libraries are offered.",
                                  "В меню только первые {1} {2} из библиотек."};
constexpr OwnMessage NotReadCompletely{
    "Your library \"{1}\" was not read completely, so it is left as it is. {2} Mend the file (or move it away), then "
    "start the editor again.",
    "Ваша библиотека \"{1}\" прочитана не полностью, поэтому она остаётся как есть. {2} Исправьте файл (или "
    "уберите его), затем снова запустите редактор."};
constexpr OwnMessage MenuFull{"The menu already holds {1} {2}: delete one of yours before adding another.",
                              "В меню уже {1} {2}: удалите что-нибудь из своих, прежде чем добавлять."};
constexpr OwnMessage LibraryFull{"Your library already holds {1} {2}: delete one before adding another.",
                                 "В вашей библиотеке уже {1} {2}: удалите что-нибудь, прежде чем добавлять."};
constexpr OwnMessage OnlyYourOwn{"Only your own {1} can be deleted.", "Удалять можно только свои записи."};

} // namespace

LibraryTable::LibraryTable(std::string builtin, std::string user, int slots, OwnMessage recordKind)
    : builtinPath(std::move(builtin)), userPath(std::move(user)), capacity(slots), kind(recordKind)
{}

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
    builtinProblem = builtin.problems.empty() ? std::string() : builtin.problems.front();
    for (std::vector<std::string>* source : {&builtin.records, &user.records}) {
        for (std::string& record : *source) {
            if (records.size() >= static_cast<std::size_t>(capacity)) {
                const std::string full = Say(OnlyTheFirst, {std::to_string(capacity), Say(kind)});
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

std::vector<std::string> LibraryTable::StartUpProblems() const
{
    std::vector<std::string> problems;
    if (!builtinProblem.empty())
        problems.push_back(builtinProblem);
    if (!userComplete)
        problems.push_back(Say(NotReadCompletely, {userPath, userProblem}));
    return problems;
}

std::vector<std::string> LibraryTable::UserRecords() const { return {records.begin() + builtinCount, records.end()}; }

std::vector<std::string> LibraryTable::Names(bool userOnly) const
{
    std::vector<std::string> names;
    for (std::size_t slot = userOnly ? static_cast<std::size_t>(builtinCount) : 0; slot < records.size(); ++slot)
        names.push_back(RecordName(records[slot]));
    return names;
}

void LibraryTable::CheckRewritable() const
{
    if (!userComplete)
        throw KrtError(Say(NotReadCompletely, {userPath, userProblem}));
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
        throw KrtError(Say(MenuFull, {std::to_string(capacity), Say(kind)}));
    std::vector<std::string> user = UserRecords();
    if (user.size() >= static_cast<std::size_t>(MaxLibraryRecords))
        throw KrtError(Say(LibraryFull, {std::to_string(MaxLibraryRecords), Say(kind)}));
    if (const std::string problem = LibraryRecordProblem(record); !problem.empty())
        throw KrtError(problem);
    user.push_back(record);
    Rewrite(user, false);
}

void LibraryTable::Delete(int index)
{
    if (index < builtinCount || index >= Count())
        throw KrtError(Say(OnlyYourOwn, {Say(kind)}));
    CheckRewritable();
    std::vector<std::string> user = UserRecords();
    user.erase(user.begin() + (index - builtinCount));
    Rewrite(user, true);
}

std::string RecordName(const std::string& record)
{
    const std::size_t bar = record.find('|');
    return bar == std::string::npos ? std::string() : record.substr(0, bar);
}

} // namespace krt
