#pragma once

#include <string>
#include <vector>

namespace krt {

// One value of the window layout file: section (a window's object name), key,
// and its default when the file lacks it.
struct LayoutValue {
    std::string section;
    std::string key;
    int value;
};

// Every value the file holds, in file order, with the defaults: Form1,
// PreviewForm and EditForm keep Left, Top, Width and Height; InstrumForm,
// OptForm and ColorForm only Left and Top.
std::vector<LayoutValue> DefaultWindowLayout();

// Reads "krtphed.ini": each value the file gives replaces its default; a
// missing file, section or key, or a value that is not a number, keeps it.
std::vector<LayoutValue> LoadWindowLayout(const std::string& path);
// Writes every value (creating the folder when needed). Throws KrtError.
void SaveWindowLayout(const std::string& path, const std::vector<LayoutValue>& values);

// The value of a key in a list, or `fallback`.
int LayoutLookup(const std::vector<LayoutValue>& values, const std::string& section, const std::string& key,
                 int fallback);

} // namespace krt
