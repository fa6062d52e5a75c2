#pragma once

#include "library/LibraryTable.h"

#include <array>
#include <string>

namespace krt {

// Every filter the "Трилинейные фильтры" menu offers: the built-in library's
// records first ("filter.prg" or "filtere.prg"), then the user's
// ("ufilter.prg"); 200 slots. A slot's index is its menu item's tag.
class FilterTable : public LibraryTable {
public:
    static constexpr int Capacity = 200;

    FilterTable(std::string builtin, std::string user)
        : LibraryTable(std::move(builtin), std::move(user), Capacity, {"filters", "фильтров"})
    {}

    std::vector<std::string> LoadFilterMenu() { return Load(); }
    void SaveUserFilters() const { SaveUser(); }
    void AddFilter(const std::string& record) { Add(record); }
    void DeleteFilter(int index) { Delete(index); }
    int FilterCount() const { return Count(); }
    int BuiltinFilterCount() const { return BuiltinCount(); }
};

// A filter record is "name|w1,w2,...,w9,d". The numbers part: everything
// after the first "|" (the whole line when there is none).
std::string FilterNumbers(const std::string& record);

// The editor's checks. A weight field: trimmed of blanks and control
// characters; "0" when empty, exactly "-", or anything but an optional "-"
// and digits. The divisor field: the same with "1", which also replaces a
// text that converts to 0.
std::string CheckWeightText(const std::string& text);
std::string CheckDivisorText(const std::string& text);

// The record of the editor's fields: the name as typed, "|", the checked
// weights w1 ... w9 and the checked divisor, separated by ",".
std::string BuildFilterRecord(const std::string& name, const std::array<std::string, 9>& weights,
                              const std::string& divisor);

} // namespace krt
