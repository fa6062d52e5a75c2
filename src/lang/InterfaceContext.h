#pragma once

#include "core/DataPaths.h"
#include "lang/Language.h"
#include "lang/Messages.h"

namespace krt {

// What a subsystem's menu and windows need of the editor beyond the picture:
// the interface language, its message texts and the folders of the library
// files (built-in and the user's).
struct InterfaceContext {
    Language language;
    const Messages& messages;
    DataPaths paths;

    // The built-in library of the language: `russian` or `english` in the
    // program's folder.
    std::string BuiltinLibrary(const char* russian, const char* english) const
    {
        return paths.Program(language == Language::Russian ? russian : english);
    }
};

} // namespace krt
