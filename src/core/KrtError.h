#pragma once

#include <stdexcept>
#include <string>

namespace krt {

// An error whose text is meant for the user: the application-wide handler
// shows what() in a message box and the editor goes on.
class KrtError : public std::runtime_error {
public:
    explicit KrtError(const std::string& message) : std::runtime_error(message) {}
};

} // namespace krt
