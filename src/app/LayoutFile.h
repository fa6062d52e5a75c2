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

// A window's place: left, top, width and height in pixels.
struct WindowRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
    bool operator==(const WindowRect&) const = default;
};

// How much of a window must stay where the user can grab it: this many
// pixels of its title bar across, and its top this far above the area's
// bottom (room for the title bar, or the main window's menu bar).
struct Grip {
    int across = 40;
    int down = 30;
};

// A stored window rectangle made usable before it is applied: its size kept
// between `minimum` and `maximum` (the screen), its position such that its top
// lies inside `area` and enough of its title bar to grab it. A layout file can
// thus never put a window out of reach or make one gigabytes large.
WindowRect ReachableRect(WindowRect stored, WindowRect area, WindowRect minimum, WindowRect maximum, Grip grip = {});

// The value of a key in a list, or `fallback`.
int LayoutLookup(const std::vector<LayoutValue>& values, const std::string& section, const std::string& key,
                 int fallback);

} // namespace krt
