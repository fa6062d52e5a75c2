#include "core/OwnMessages.h"

#include <atomic>
#include <vector>

namespace krt {
namespace {

// Set once before any window exists; read by the workers of a long pass too.
std::atomic<Language> current{Language::English};

} // namespace

void SetMessageLanguage(Language language) { current = language; }

Language MessageLanguage() { return current; }

std::string Say(const OwnMessage& message, std::initializer_list<std::string> arguments)
{
    const std::string pattern = current == Language::Russian ? message.russian : message.english;
    const std::vector<std::string> args(arguments);
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '{' && i + 2 < pattern.size() && pattern[i + 2] == '}' && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            const auto k = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (k < args.size()) {
                text += args[k];
                i += 2;
                continue;
            }
        }
        text += pattern[i];
    }
    return text;
}

} // namespace krt
