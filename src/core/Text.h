#pragma once

#include <string>
#include <string_view>

namespace krt {

// The text without the blanks (spaces, tabs, carriage returns) around it.
std::string TrimBlanks(std::string_view text);

} // namespace krt
