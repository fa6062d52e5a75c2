#include "core/FileReading.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace krt {
namespace {

class Descriptor {
public:
    explicit Descriptor(int descriptor) : fd(descriptor) {}
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd; }

private:
    int fd;
};

std::system_error SystemError() { return std::system_error(errno, std::generic_category()); }

} // namespace

FileBytes ReadRegularFile(const std::string& path, std::uint64_t maxBytes)
{
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0)
        throw SystemError();
    struct stat status {};
    if (::fstat(file.get(), &status) != 0)
        throw SystemError();
    if (S_ISDIR(status.st_mode))
        throw std::runtime_error("it is a folder");
    if (!S_ISREG(status.st_mode))
        throw std::runtime_error("it is not a regular file");
    const auto size = static_cast<std::uint64_t>(status.st_size);
    if (size > maxBytes)
        throw std::runtime_error("the file is " + std::to_string(size) + " bytes long, more than the " +
                                 std::to_string(maxBytes) + " it may hold");
    FileBytes bytes{LargeBlock(static_cast<std::size_t>(size)), 0};
    if (size > 0 && !bytes.data)
        throw std::runtime_error("the file is too large to read into memory");
    while (bytes.size < size) {
        const ssize_t got =
            ::read(file.get(), bytes.data.Data() + bytes.size, static_cast<std::size_t>(size) - bytes.size);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw SystemError();
        if (got == 0)
            throw std::runtime_error("the file grew shorter while it was read");
        bytes.size += static_cast<std::size_t>(got);
    }
    return bytes;
}

std::string ReadTextFile(const std::string& path, std::uint64_t maxBytes)
{
    const FileBytes bytes = ReadRegularFile(path, maxBytes);
    return bytes.size ? std::string(reinterpret_cast<const char*>(bytes.data.Data()), bytes.size) : std::string();
}

} // namespace krt
