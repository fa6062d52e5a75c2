#pragma once

#include "lang/CaptionTables.h"

namespace krt {

// The two built-in tables, each in the order it runs.
std::span<const CaptionEntry> RussianCaptions();
std::span<const CaptionEntry> EnglishCaptions();

} // namespace krt
