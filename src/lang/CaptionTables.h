#pragma once

#include "lang/Language.h"
#include "lang/Messages.h"

#include <span>

namespace krt {

// What an entry of a caption table sets.
enum class CaptionProperty {
    Message,  // a message string (window and control name the Messages field)
    Caption,  // caption or text of a window, label, button, box or menu item
    Hint,     // tool tip of a control
    ListItem, // entry `index` of a drop-down list
    ListText, // the text a drop-down list shows
};

// One assignment: (window class, control object name, property, text). An empty
// control names the window itself.
struct CaptionEntry {
    const char* window;
    const char* control;
    CaptionProperty property;
    int index;
    const char* text;
};

// The built-in table of a language, in the order it runs: the message strings,
// then the windows, then the main-menu captions.
std::span<const CaptionEntry> CaptionTable(Language language);

// Runs the message entries of a table.
void ApplyMessageEntries(std::span<const CaptionEntry> table, Messages& messages);

} // namespace krt
