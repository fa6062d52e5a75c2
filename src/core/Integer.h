#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace krt {

// The decimal integer a whole text holds (an optional minus sign, digits),
// or nothing.
std::optional<int> ToInteger(std::string_view text);
// The same for text the user typed: throws KrtError ("... is not a valid
// integer value.") when it holds anything else.
int ParseInteger(const std::string& text);

} // namespace krt
