#pragma once

namespace krt {

// The product's name as every window and message box shows it, and its version.
constexpr const char* ProductTitle = "KRT Dalmor's Photo Editor";
constexpr const char* ProductVersion = "4.4";

} // namespace krt
