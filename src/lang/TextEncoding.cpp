#include "lang/TextEncoding.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>
#include <vector>

namespace krt {
namespace {

std::optional<std::string> Convert(const char* to, const char* from, const std::string& text)
{
    iconv_t cd = ::iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("the system cannot convert text from ") + from + " to " + to);
    std::vector<char> out(text.size() * 4 + 16);
    char* in = const_cast<char*>(text.data());
    std::size_t inLeft = text.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    const std::size_t done = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    ::iconv_close(cd);
    if (done == static_cast<std::size_t>(-1))
        return std::nullopt;
    return std::string(out.data(), out.size() - outLeft);
}

} // namespace

std::string Cp1251ToUtf8(const std::string& text)
{
    // Every byte is a Windows-1251 character except 0x98, which has none: it
    // comes through as a question mark instead of stopping the conversion.
    std::string cleaned = text;
    for (char& c : cleaned)
        if (static_cast<unsigned char>(c) == 0x98)
            c = '?';
    return Convert("UTF-8", "CP1251", cleaned).value_or(std::string());
}

std::optional<std::string> Utf8ToCp1251(const std::string& text) { return Convert("CP1251", "UTF-8", text); }

std::string FoldCase(const std::string& text)
{
    // In Windows-1251 the capitals are A-Z, 0xC0-0xDF and Yo (0xA8); text it
    // cannot hold has only its Latin letters folded.
    const std::optional<std::string> encoded = Utf8ToCp1251(text);
    std::string bytes = encoded.value_or(text);
    for (char& c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 'A' && u <= 'Z')
            c = static_cast<char>(u + 0x20);
        else if (encoded && u >= 0xC0 && u <= 0xDF)
            c = static_cast<char>(u + 0x20);
        else if (encoded && u == 0xA8)
            c = static_cast<char>(0xB8);
    }
    return encoded ? Cp1251ToUtf8(bytes) : bytes;
}

} // namespace krt
