#include "core/AtomicFile.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace krt {
namespace {

std::system_error SystemError(int code = errno) { return std::system_error(code, std::generic_category()); }

// A file larger than the process may write must make the write fail (EFBIG),
// not end the program with the picture unsaved.
void IgnoreFileSizeSignal()
{
    static const bool ignored = [] { return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR; }();
    (void)ignored;
}

// The file a name stands for: through a symbolic link, the file it points at,
// so that saving replaces that file and the link stays a link.
std::filesystem::path Resolved(const std::filesystem::path& p)
{
    std::error_code ec;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(p, ec)))
        return p;
    const std::filesystem::path target = std::filesystem::weakly_canonical(p, ec);
    return ec ? p : target;
}

} // namespace

AtomicFile::AtomicFile(const std::string& path)
{
    IgnoreFileSizeSignal();
    const std::filesystem::path p = Resolved(path);
    target = p.string();
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        if (!S_ISREG(old.st_mode))
            throw std::runtime_error("it is not a regular file");
        // A file the user may not write is not replaced. The administrator may
        // write anything; a file that grants nobody writing stays read-only
        // for the administrator too.
        if (::access(target.c_str(), W_OK) != 0)
            throw SystemError();
        if ((old.st_mode & 0222) == 0)
            throw SystemError(EACCES);
        existing = true;
        mode = old.st_mode & 07777;
        owner = old.st_uid;
        group = old.st_gid;
    }
    // A short name, so that a file whose own name is as long as names may be
    // can still be saved beside it.
    temp = (p.parent_path() / ".krtphoto-XXXXXX").string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        throw SystemError();
    file = ::fdopen(fd, "wb");
    if (!file) {
        const auto error = SystemError();
        ::close(fd);
        ::unlink(temp.c_str());
        throw error;
    }
}

AtomicFile::~AtomicFile()
{
    if (file)
        std::fclose(file);
    if (!committed)
        ::unlink(temp.c_str());
}

void AtomicFile::Write(const void* data, std::size_t size)
{
    if (std::fwrite(data, 1, size, file) != size)
        throw SystemError(errno ? errno : EIO);
}

void AtomicFile::Commit(bool durable)
{
    if (std::fflush(file) != 0 || std::ferror(file) || (durable && ::fsync(::fileno(file)) != 0))
        throw SystemError(std::ferror(file) && errno == 0 ? EIO : errno);
    // mkstemp makes the file private: a replaced file keeps its rights and,
    // where the system allows, its owner; a new one gets the usual rights.
    if (existing) {
        ::fchmod(::fileno(file), mode);
        if (::fchown(::fileno(file), owner, group) != 0) {
            // Only the administrator may give a file away; the user's own files keep their owner anyway.
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(::fileno(file), 0666 & ~mask);
    }
    std::FILE* closing = file;
    file = nullptr;
    if (std::fclose(closing) != 0)
        throw SystemError();
    if (std::rename(temp.c_str(), target.c_str()) != 0)
        throw SystemError();
    committed = true;
}

void WriteWholeFile(const std::string& path, std::string_view bytes)
{
    std::error_code ignored; // a folder that cannot be made shows as the write's own failure
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    AtomicFile file(path);
    file.Write(bytes.data(), bytes.size());
    file.Commit(false);
}

} // namespace krt
