#include "lang/CaptionTables.h"

#include "lang/CaptionTableData.h"

namespace krt {

std::span<const CaptionEntry> CaptionTable(Language language)
{
    return language == Language::Russian ? RussianCaptions() : EnglishCaptions();
}

void ApplyMessageEntries(std::span<const CaptionEntry> table, Messages& messages)
{
    for (const CaptionEntry& entry : table)
        if (entry.property == CaptionProperty::Message)
            if (std::string* field = messages.Find(entry.control))
                *field = entry.text;
}

} // namespace krt
