#include "deform/formula/Prepare.h"

#include <clocale>
#include <cstring>

namespace krt {
namespace {

bool OperatorLike(char c) { return c != '\0' && std::strchr("()*+-/^|", c) != nullptr; }

bool Standalone(const std::string& s, std::size_t i)
{
    if (s.size() == 1)
        return true;
    if (i == 0)
        return OperatorLike(s[1]);
    if (i == s.size() - 1)
        return OperatorLike(s[i - 1]);
    return OperatorLike(s[i - 1]) && OperatorLike(s[i + 1]);
}

void Substitute(std::string& s, char letter, int value)
{
    const std::string number = std::to_string(value);
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == letter && Standalone(s, i)) {
            s.replace(i, 1, number);
            i += number.size() - 1;
        }
    }
}

bool HasStandalone(const std::string& s, char letter)
{
    for (std::size_t i = 0; i < s.size(); ++i)
        if (s[i] == letter && Standalone(s, i))
            return true;
    return false;
}

bool ReplaceAll(std::string& s, const char* from, const char* to)
{
    bool replaced = false;
    for (std::size_t at; (at = s.find(from)) != std::string::npos;) {
        s.replace(at, std::strlen(from), to);
        replaced = true;
    }
    return replaced;
}

} // namespace

std::string PreparedFormulas::First() const { return text.substr(0, text.find('|')); }

std::string PreparedFormulas::Second() const
{
    const std::size_t bar = text.find('|');
    return bar == std::string::npos ? std::string() : text.substr(bar + 1);
}

PreparedFormulas PrepareFormulas(const std::string& text, int width, int height, const std::array<int, 6>& constants,
                                 char decimalSeparator)
{
    PreparedFormulas p;
    p.text = text;
    Substitute(p.text, 'w', width);
    Substitute(p.text, 'h', height);
    for (int k = 0; k < 6; ++k)
        Substitute(p.text, static_cast<char>('a' + k), constants[static_cast<std::size_t>(k)]);
    p.tUsed = HasStandalone(p.text, 't');
    p.rUsed = HasStandalone(p.text, 'r');
    p.cxUsed = ReplaceAll(p.text, "cx", "c");
    p.cyUsed = ReplaceAll(p.text, "cy", "z");
    for (char& c : p.text)
        if (c == '.')
            c = decimalSeparator;
    return p;
}

char LocaleDecimalSeparator()
{
    const std::lconv* conv = std::localeconv();
    return conv && conv->decimal_point && conv->decimal_point[0] ? conv->decimal_point[0] : '.';
}

} // namespace krt
