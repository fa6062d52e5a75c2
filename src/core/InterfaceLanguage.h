#pragma once

namespace krt {

// The interface language, chosen once by the installer and read at every start.
enum class Language { English, Russian };

} // namespace krt
