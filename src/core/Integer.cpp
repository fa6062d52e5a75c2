#include "core/Integer.h"

#include "core/KrtError.h"
#include "core/OwnMessages.h"

#include <charconv>

namespace krt {
namespace {

constexpr OwnMessage NotAnInteger{"\"{1}\" is not a valid integer value.", "\"{1}\" не является целым числом."};

} // namespace

std::optional<int> ToInteger(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

int ParseInteger(const std::string& text)
{
    const std::optional<int> value = ToInteger(text);
    if (!value)
        throw KrtError(Say(NotAnInteger, {text}));
    return *value;
}

} // namespace krt
