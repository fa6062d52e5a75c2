#include "core/Integer.h"

#include "core/KrtError.h"

#include <charconv>

namespace krt {

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
        throw KrtError("\"" + text + "\" is not a valid integer value.");
    return *value;
}

} // namespace krt
