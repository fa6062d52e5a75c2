#pragma once

#include "library/LibraryTable.h"

namespace krt {

// Every deformation the menu offers: the built-in library's records first,
// then the user's ("ueffect.prg"); 200 slots. A slot's index is its menu
// item's tag.
class DeformationTable : public LibraryTable {
public:
    static constexpr int Capacity = 200;

    DeformationTable(std::string builtin, std::string user)
        : LibraryTable(std::move(builtin), std::move(user), Capacity, {"deformations", "деформаций"})
    {}

    std::vector<std::string> LoadDeformationMenu() { return Load(); }
    void SaveUserDeformations() const { SaveUser(); }
    void AddDeformation(const std::string& record) { Add(record); }
    void DeleteDeformation(int index) { Delete(index); }
    int DeformationCount() const { return Count(); }
    int BuiltinDeformationCount() const { return BuiltinCount(); }
};

} // namespace krt
