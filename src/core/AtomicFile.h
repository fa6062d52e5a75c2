#pragma once

#include <cstdio>
#include <string>

namespace krt {

// Writes a file so that the old one survives any failure: the data goes to a
// temporary file in the same folder, which replaces the target only when all
// of it was written. Only regular files are replaced (renaming over a device or
// a folder would destroy it). Errors throw std::runtime_error with the reason;
// the caller names the file.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::FILE* Stream() const { return file; }
    // Closes the temporary file and puts it in place of the target; `durable`
    // first waits until the data is on the disk.
    void Commit(bool durable);

private:
    std::string target;
    std::string temp;
    std::FILE* file = nullptr;
    bool committed = false;
};

} // namespace krt
