#include "app/LayoutFile.h"

#include "core/AtomicFile.h"
#include "core/FileReading.h"
#include "core/Integer.h"
#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "core/Text.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>

namespace krt {
namespace {

constexpr OwnMessage CannotSaveLayout{"Cannot save the window layout \"{1}\": {2}.",
                                      "Не удаётся сохранить расположение окон \"{1}\": {2}."};

} // namespace
namespace {

// A layout file holds eighteen short lines.
constexpr std::uint64_t MaxLayoutFileBytes = 64 * 1024;

} // namespace

std::vector<LayoutValue> DefaultWindowLayout()
{
    return {
        {"Form1", "Left", 0},
        {"Form1", "Top", 0},
        {"Form1", "Width", 726},
        {"Form1", "Height", 540},
        {"PreviewForm", "Left", 59},
        {"PreviewForm", "Top", 0},
        {"PreviewForm", "Width", 324},
        {"PreviewForm", "Height", 475},
        {"EditForm", "Left", 385},
        {"EditForm", "Top", 183},
        {"EditForm", "Width", 326},
        {"EditForm", "Height", 292},
        {"InstrumForm", "Left", 0},
        {"InstrumForm", "Top", 0},
        {"OptForm", "Left", 385},
        {"OptForm", "Top", 0},
        {"ColorForm", "Left", 385},
        {"ColorForm", "Top", 72},
        // The deformation dialog's quality row: sampling, samples per side
        // (0: adaptive), edges.
        {"EffectForm", "Sampling", 0},
        {"EffectForm", "Supersample", 1},
        {"EffectForm", "Edge", 0},
    };
}

std::vector<LayoutValue> LoadWindowLayout(const std::string& path)
{
    std::vector<LayoutValue> values = DefaultWindowLayout();
    // A file that cannot be read (missing, a folder, a named pipe, too large)
    // leaves every default.
    std::string text;
    try {
        text = ReadTextFile(path, MaxLayoutFileBytes);
    } catch (const std::runtime_error&) {
        return values;
    }
    std::istringstream in(text);
    // Section and key names compare without regard to case, as INI files do.
    auto lower = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    std::map<std::string, std::string> found;
    std::string line, section;
    while (std::getline(in, line)) {
        line = TrimBlanks(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[' && line.back() == ']') {
            section = lower(TrimBlanks(line.substr(1, line.size() - 2)));
            continue;
        }
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos)
            found.emplace(section + "\n" + lower(TrimBlanks(line.substr(0, eq))), TrimBlanks(line.substr(eq + 1)));
    }
    for (LayoutValue& v : values) {
        const auto it = found.find(lower(v.section) + "\n" + lower(v.key));
        if (it == found.end())
            continue;
        if (const std::optional<int> number = ToInteger(it->second))
            v.value = *number;
    }
    return values;
}

void SaveWindowLayout(const std::string& path, const std::vector<LayoutValue>& values)
{
    std::string text, section;
    for (const LayoutValue& v : values) {
        if (v.section != section) {
            text += (section.empty() ? "[" : "\n[") + v.section + "]\n";
            section = v.section;
        }
        text += v.key + "=" + std::to_string(v.value) + "\n";
    }
    try {
        WriteWholeFile(path, text);
    } catch (const std::exception& e) {
        throw KrtError(Say(CannotSaveLayout, {path, e.what()}));
    }
}

WindowRect ReachableRect(WindowRect stored, WindowRect area, WindowRect minimum, WindowRect maximum, Grip grip)
{
    WindowRect r = stored;
    r.w = std::clamp(r.w, minimum.w, std::max(minimum.w, maximum.w));
    r.h = std::clamp(r.h, minimum.h, std::max(minimum.h, maximum.h));
    const int across = std::min(grip.across, r.w);
    r.x = std::clamp(r.x, area.x - (r.w - across), std::max(area.x, area.x + area.w - across));
    r.y = std::clamp(r.y, area.y, std::max(area.y, area.y + area.h - grip.down));
    return r;
}

int LayoutLookup(const std::vector<LayoutValue>& values, const std::string& section, const std::string& key,
                 int fallback)
{
    for (const LayoutValue& v : values)
        if (v.section == section && v.key == key)
            return v.value;
    return fallback;
}

} // namespace krt
