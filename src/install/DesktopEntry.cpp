#include "install/DesktopEntry.h"

namespace krt {
namespace {

// A string value of a desktop entry: backslashes doubled, line breaks and
// tabs written as escapes.
std::string StringValue(const std::string& text)
{
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\t')
            out += "\\t";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

std::string List(const std::vector<std::string>& items)
{
    std::string out;
    for (const std::string& item : items)
        out += item + ";";
    return out;
}

} // namespace

std::string ExecArgument(const std::string& argument)
{
    if (argument == "%f" || argument == "%F" || argument == "%u" || argument == "%U")
        return argument;
    const bool quote = argument.empty() || argument.find_first_of(" \t\n\"'\\><~|&;$*?#()`") != std::string::npos;
    std::string out;
    for (const char c : argument) {
        if (c == '%')
            out += "%%";
        else if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
            out += std::string("\\") + c;
        else
            out += c;
    }
    return quote ? "\"" + out + "\"" : out;
}

std::string DesktopEntryText(const DesktopEntry& entry)
{
    std::string exec;
    for (const std::string& argument : entry.command)
        exec += (exec.empty() ? "" : " ") + ExecArgument(argument);
    std::string text = "[Desktop Entry]\nType=Application\nVersion=1.0\nName=" + StringValue(entry.name) + "\n";
    if (!entry.comment.empty())
        text += "Comment=" + StringValue(entry.comment) + "\n";
    text += "Exec=" + StringValue(exec) + "\n";
    if (!entry.icon.empty())
        text += "Icon=" + StringValue(entry.icon) + "\n";
    text += "Terminal=false\n";
    if (!entry.mimeTypes.empty())
        text += "MimeType=" + List(entry.mimeTypes) + "\n";
    if (!entry.categories.empty())
        text += "Categories=" + List(entry.categories) + "\n";
    return text;
}

std::string DirectoryEntryText(const std::string& name, const std::string& icon)
{
    return "[Desktop Entry]\nType=Directory\nVersion=1.0\nName=" + StringValue(name) + "\nIcon=" + StringValue(icon) +
           "\n";
}

std::string MenuFileText(const std::string& menuName, const std::string& directoryFile,
                         const std::vector<std::string>& entryFiles)
{
    // The desktops' menu readers need no document type line.
    std::string text = "<Menu>\n"
                       "  <Name>Applications</Name>\n"
                       "  <Menu>\n"
                       "    <Name>" +
                       menuName + "</Name>\n    <Directory>" + directoryFile + "</Directory>\n    <Include>\n";
    for (const std::string& file : entryFiles)
        text += "      <Filename>" + file + "</Filename>\n";
    text += "    </Include>\n  </Menu>\n</Menu>\n";
    return text;
}

} // namespace krt
