#pragma once

#include <string>
#include <vector>

namespace krt {

// Every deformation the menu offers: the built-in library's records first, then
// the user's. A slot's index is its menu item's tag.
class DeformationTable {
public:
    static constexpr int Capacity = 200;

    DeformationTable(std::string builtinPath, std::string userPath);

    // Fills the table from both library files; returns what was wrong with
    // them (a missing file gives no records, not a failure).
    std::vector<std::string> LoadDeformationMenu();
    // Rewrites the user library from the table. Throws KrtError.
    void SaveUserDeformations() const;
    // Appends a user record and rewrites the user library; the table then
    // matches the file again. Throws KrtError (table and file unchanged) when
    // the record cannot be stored or the table or library is full.
    void AddDeformation(const std::string& record);
    // Removes a user record by its table index. Throws KrtError for built-in
    // records and indices out of range.
    void DeleteDeformation(int index);

    int DeformationCount() const { return static_cast<int>(records.size()); }
    int BuiltinDeformationCount() const { return builtinCount; }
    const std::string& Record(int index) const { return records[static_cast<std::size_t>(index)]; }
    std::vector<std::string> UserRecords() const;

private:
    void Rewrite(const std::vector<std::string>& userRecords);

    std::string builtinPath;
    std::string userPath;
    std::vector<std::string> records;
    int builtinCount = 0;
};

} // namespace krt
