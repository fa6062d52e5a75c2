#pragma once

#include "core/LargeMemory.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace krt {

// A whole file's contents in memory.
struct FileBytes {
    LargeBlock data;
    std::size_t size = 0;
};

// Reads a whole regular file of at most `maxBytes`. The file is opened
// without blocking, so a named pipe or a device never holds the program up,
// and anything but a regular file is refused ("it is a folder", "it is not a
// regular file"), as is a larger one. Throws std::runtime_error with the
// reason, in a sentence the caller appends to the file's name (a
// std::system_error with the system's error code when the system refused).
FileBytes ReadRegularFile(const std::string& path, std::uint64_t maxBytes);

// The same for a small text file, as a string.
std::string ReadTextFile(const std::string& path, std::uint64_t maxBytes);

} // namespace krt
