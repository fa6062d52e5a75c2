#include "effects/FilterLibrary.h"

#include <algorithm>
#include <cctype>

namespace krt {
namespace {

// Blanks and control characters at either end go.
std::string TrimControls(const std::string& text)
{
    auto isTrimmed = [](unsigned char c) { return c <= ' '; };
    const auto first = std::find_if_not(text.begin(), text.end(), isTrimmed);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isTrimmed).base();
    return first < last ? std::string(first, last) : std::string();
}

// An optional "-" and at least one digit, nothing else.
bool IsSignedDigits(const std::string& text)
{
    const std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    return text.size() > start && std::all_of(text.begin() + static_cast<long>(start), text.end(),
                                              [](unsigned char c) { return std::isdigit(c) != 0; });
}

} // namespace

std::string FilterNumbers(const std::string& record)
{
    const std::size_t bar = record.find('|');
    return bar == std::string::npos ? record : record.substr(bar + 1);
}

std::string CheckWeightText(const std::string& text)
{
    const std::string trimmed = TrimControls(text);
    return IsSignedDigits(trimmed) ? trimmed : "0";
}

std::string CheckDivisorText(const std::string& text)
{
    const std::string trimmed = TrimControls(text);
    if (!IsSignedDigits(trimmed))
        return "1";
    // Zero in any spelling ("0", "00", "-0") would divide by zero.
    const bool zero = std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c == '0' || c == '-'; });
    return zero ? "1" : trimmed;
}

std::string BuildFilterRecord(const std::string& name, const std::array<std::string, 9>& weights,
                              const std::string& divisor)
{
    std::string record = name + "|";
    for (const std::string& weight : weights)
        record += CheckWeightText(weight) + ",";
    return record + CheckDivisorText(divisor);
}

} // namespace krt
