#pragma once

#include <optional>
#include <string>

namespace krt {

// Text files of the editor (libraries, the language file) are Windows-1251 on
// disk, so that files of the Windows version keep working both ways; inside the
// program all text is UTF-8.
std::string Cp1251ToUtf8(const std::string& text);
// Nothing when the text holds a character that Windows-1251 has no code for.
std::optional<std::string> Utf8ToCp1251(const std::string& text);

// The text in lower case, Latin and Cyrillic letters alike (for matching names
// without regard to case).
std::string FoldCase(const std::string& text);

} // namespace krt
