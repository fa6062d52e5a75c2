#pragma once

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace krt::batch {

// A command-line mistake: the message is printed and the program exits 1.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const std::string& message) : std::runtime_error(message) {}
};

using Arguments = std::vector<std::string>;

// Each command takes the arguments after its name and returns the exit code.
int Convert(const Arguments& args);
int Deform(const Arguments& args);
int Eval(const Arguments& args);

// Reads an integer option value, refusing anything else.
int ParseInteger(const std::string& option, const std::string& value);
// Reads "a=N" (a constant from a to f, N from 0 to 100) into constants.
void ParseConstant(const std::string& text, std::array<int, 6>& constants, std::array<bool, 6>* given);

} // namespace krt::batch
