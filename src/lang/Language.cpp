#include "lang/Language.h"

#include <cstdio>

namespace krt {

Language LoadLanguage(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return Language::English;
    // Only the first character of the first line counts; at most 19 are read.
    char line[20] = {};
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    return read && line[0] == 'R' ? Language::Russian : Language::English;
}

} // namespace krt
