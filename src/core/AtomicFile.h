#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace krt {

// Writes a file so that the old one survives any failure: the data goes to a
// temporary file in the same folder, which replaces the target only when all
// of it was written, with the old file's rights and (where the system allows)
// owner. Only regular files are replaced (renaming over a device or a folder
// would destroy it); a name that is a symbolic link replaces the file it points
// at; a file the user may not write is refused. A write beyond the process's
// file size limit fails instead of ending the program. Errors throw
// std::runtime_error with the reason; the caller names the file.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    std::FILE* Stream() const { return file; }
    // Writes all `size` bytes, or throws with the system's reason.
    void Write(const void* data, std::size_t size);
    // Closes the temporary file and puts it in place of the target; `durable`
    // first waits until the data is on the disk.
    void Commit(bool durable);

private:
    std::string target;
    std::string temp;
    bool existing = false;
    unsigned mode = 0;
    unsigned owner = 0;
    unsigned group = 0;
    std::FILE* file = nullptr;
    bool committed = false;
};

// A small file written whole the same way, its folder made first when
// missing. Throws std::runtime_error with the reason.
void WriteWholeFile(const std::string& path, std::string_view bytes);

} // namespace krt
