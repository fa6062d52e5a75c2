#pragma once

#include "core/OwnMessages.h"

#include <string>
#include <vector>

namespace krt {

// The records a submenu offers: a built-in library's records first, then the
// user's, up to a capacity. A slot's index is its menu item's tag. The user
// library is rewritten in full after every addition or deletion, but never
// from a table that could not hold all of it: a user library that did not
// read completely (an unreadable or over-long line, a damaged count, more
// records than the table holds) refuses additions and deletions with a
// message naming the file, and stays as it is.
class LibraryTable {
public:
    // `kind` names the records in messages ("deformations", "filters").
    LibraryTable(std::string builtinPath, std::string userPath, int capacity, OwnMessage kind);

    // Fills the table from both library files; returns what was wrong with
    // them (a missing file gives no records, not a failure).
    std::vector<std::string> Load();
    // Rewrites the user library from the table. Throws KrtError.
    void SaveUser() const;
    // Appends a user record and rewrites the user library; the table then
    // matches the file again. Throws KrtError (table and file unchanged) when
    // the record cannot be stored, the table or the library is full, or the
    // user library may not be rewritten.
    void Add(const std::string& record);
    // Removes a user record by its table index; the previous file is kept
    // beside it as "….bak". Throws KrtError for built-in records, indices out
    // of range, and a user library that may not be rewritten.
    void Delete(int index);

    int Count() const { return static_cast<int>(records.size()); }
    int BuiltinCount() const { return builtinCount; }
    int Capacity() const { return capacity; }
    const std::string& Record(int index) const { return records[static_cast<std::size_t>(index)]; }
    std::vector<std::string> UserRecords() const;
    // The records' names in slot order: every slot's, or the user's only.
    std::vector<std::string> Names(bool userOnly = false) const;
    const std::string& UserPath() const { return userPath; }
    // Whether the user library was read completely (a missing one was); when
    // not, additions and deletions are refused and UserProblem says why.
    bool UserLibraryComplete() const { return userComplete; }
    const std::string& UserProblem() const { return userProblem; }
    // What the user hears of once at start-up: a built-in library that could
    // not be read (its submenu lacks the built-in records), and a user library
    // that was not read completely.
    std::vector<std::string> StartUpProblems() const;

private:
    void CheckRewritable() const;
    void Rewrite(const std::vector<std::string>& userRecords, bool dropsRecords);

    std::string builtinPath;
    std::string userPath;
    int capacity;
    OwnMessage kind;
    std::vector<std::string> records;
    int builtinCount = 0;
    bool userComplete = true;   // every record of the user library is in the table
    std::string userProblem;    // why not, for the refusal
    std::string builtinProblem; // why the built-in library gave nothing
    std::string userTrailing;   // what follows the user records in the file
};

// A record's name, the text before its first "|" (empty without one): its
// menu caption.
std::string RecordName(const std::string& record);

} // namespace krt
