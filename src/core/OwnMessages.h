#pragma once

#include "core/InterfaceLanguage.h"

#include <initializer_list>
#include <string>

namespace krt {

// A message of the editor's own (one the caption tables do not hold: file,
// library and similar errors) in both interface languages. {1}, {2} … stand
// for its arguments.
struct OwnMessage {
    const char* english;
    const char* russian;
};

// The language the editor's own messages speak: set once at start-up from
// the language file; English until then.
void SetMessageLanguage(Language language);
Language MessageLanguage();

// The message in the current language with its arguments put in.
std::string Say(const OwnMessage& message, std::initializer_list<std::string> arguments = {});

} // namespace krt
