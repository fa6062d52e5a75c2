#include "lang/Language.h"

#include "core/FileReading.h"

#include <stdexcept>

namespace krt {

Language LoadLanguage(const std::string& path)
{
    // Only the first character of the first line counts. A file that cannot be
    // read (missing, a folder, a named pipe, far too large) gives English.
    try {
        const std::string text = ReadTextFile(path, 64 * 1024);
        return !text.empty() && text[0] == 'R' ? Language::Russian : Language::English;
    } catch (const std::runtime_error&) {
        return Language::English;
    }
}

} // namespace krt
