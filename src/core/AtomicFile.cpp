#include "core/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace krt {
namespace {

std::runtime_error SystemError() { return std::runtime_error(std::strerror(errno)); }

} // namespace

AtomicFile::AtomicFile(const std::string& path) : target(path)
{
    const std::filesystem::path p(path);
    std::error_code ec;
    const auto status = std::filesystem::status(p, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
        throw std::runtime_error("it is not a regular file");
    std::string name = ".";
    name.append(p.filename().string());
    name.append(".XXXXXX");
    temp = (p.parent_path() / name).string();
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

void AtomicFile::Commit(bool durable)
{
    if (std::fflush(file) != 0 || (durable && ::fsync(::fileno(file)) != 0))
        throw SystemError();
    std::FILE* closing = file;
    file = nullptr;
    if (std::fclose(closing) != 0)
        throw SystemError();
    // mkstemp makes the file private: a replaced file keeps its rights, a new one
    // gets the usual ones.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0) {
        ::chmod(temp.c_str(), old.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(temp.c_str(), 0666 & ~mask);
    }
    if (std::rename(temp.c_str(), target.c_str()) != 0)
        throw SystemError();
    committed = true;
}

} // namespace krt
