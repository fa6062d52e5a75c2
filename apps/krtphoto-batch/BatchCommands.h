#pragma once

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace krt::batch {

// A command-line mistake: the message is printed and the program exits 1.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

// A failure whose message is printed as it stands, without the tool's name
// (the editor's own words, such as "Incorrect formula X").
class BareFailure : public std::runtime_error {
public:
    explicit BareFailure(const std::string& message) : std::runtime_error(message) {}
};

using Arguments = std::vector<std::string>;

// Walks a command's arguments: options (with their values) and plain arguments.
class ArgumentCursor {
public:
    explicit ArgumentCursor(const Arguments& arguments) : args(arguments) {}
    // Moves to the next argument; false when there is none.
    bool Next() { return ++index < args.size(); }
    const std::string& Current() const { return args[index]; }
    // The value that follows the current option.
    const std::string& Value()
    {
        if (index + 1 >= args.size())
            throw UsageError(args[index] + " needs a value");
        return args[++index];
    }
    // A plain argument is collected; an option nobody knows is refused.
    void Plain(std::vector<std::string>& plain) const
    {
        if (Current().rfind("--", 0) == 0)
            throw UsageError("unknown option " + Current());
        plain.push_back(Current());
    }

private:
    const Arguments& args;
    std::size_t index = static_cast<std::size_t>(-1);
};

// One command of the tool: its name, a line for the tool's help, the text of
// its own --help, and what runs it (the arguments after its name; returns the
// exit code). The help of a command over many files ends with theirs.
struct BatchCommand {
    const char* name;
    const char* synopsis;
    const char* help;
    int (*run)(const Arguments& args);
    bool manyFiles = false; // takes the options of many files at once (--out-dir ...)
};
extern const BatchCommand ConvertCommand;
extern const BatchCommand DeformCommand;
extern const BatchCommand EffectCommand;
extern const BatchCommand EvalCommand;
extern const BatchCommand FilterCommand;
extern const BatchCommand ListCommand;

// Reads an integer option value, refusing anything else.
int ParseInteger(const std::string& option, const std::string& value);
// Reads a JPEG quality from 1 to 100.
int ParseQuality(const std::string& value);
// Reads "a=N" (a constant from a to f, N from 0 to 100) into constants.
void ParseConstant(const std::string& text, std::array<int, 6>& constants, std::array<bool, 6>* given);
// Reads a colour given as six hexadecimal digits RRGGBB (a leading # allowed).
unsigned ParseColor(const std::string& option, const std::string& text);

// A kind of library: the built-in files of both languages, the user's file
// in the user folder, and what its records are called in messages.
struct LibrarySet {
    const char* english;
    const char* russian;
    const char* user;
    const char* kind;
    const char* listing; // the command that lists them
};
extern const LibrarySet DeformationLibraries;
extern const LibrarySet FilterLibraries;

// The records a command offers: those of FILE alone (--library), or the
// built-in libraries (Russian first when asked, then the other language) and
// the user's. A library named with --library that cannot be read completely
// is reported as such (UsageError).
std::vector<std::string> LibraryRecords(const LibrarySet& set, const std::optional<std::string>& library,
                                        bool russianFirst);
// The record called `name`: the same name, else the one name that matches
// without regard to case; otherwise UsageError naming the close names.
std::string FindRecord(const LibrarySet& set, const std::string& name, const std::vector<std::string>& records);
// Reads --language: true for ru, false for en.
bool ParseRussian(const std::string& value);
// Reads an integer option value that must lie in [low, high].
int ParseInRange(const std::string& option, const std::string& value, int low, int high);

} // namespace krt::batch
