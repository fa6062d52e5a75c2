#include "recovery/RecoveryStore.h"

#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "imageio/ImageFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <signal.h>
#include <sstream>
#include <stdexcept>
#include <sys/file.h>
#include <system_error>
#include <unistd.h>

namespace krt {
namespace {

constexpr OwnMessage NoDescription{"the description of the recovery copy \"{1}\" is missing",
                                   "описание копии для восстановления \"{1}\" отсутствует"};
constexpr OwnMessage NoPicture{"the picture of the recovery copy \"{1}\" is missing",
                               "рисунок копии для восстановления \"{1}\" отсутствует"};
constexpr OwnMessage BadDescription{"the description of the recovery copy \"{1}\" cannot be read",
                                    "описание копии для восстановления \"{1}\" не читается"};

std::runtime_error SystemFailure(const std::string& what)
{
    return std::runtime_error(what + ": " + std::strerror(errno));
}

// A file name on one line: backslashes and line breaks escaped.
std::string Escape(const std::string& text)
{
    std::string out;
    for (char c : text)
        out += c == '\\' ? std::string("\\\\") : c == '\n' ? std::string("\\n") : std::string(1, c);
    return out;
}

std::string Unescape(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            out += text[i + 1] == 'n' ? '\n' : text[i + 1];
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Describe(const RecoveryCopy& copy)
{
    return "file=" + Escape(copy.fileName) + "\ntitle=" + Escape(copy.title) +
           "\nquality=" + std::to_string(copy.jpegQuality) + "\ntime=" + std::to_string(copy.time) +
           "\npid=" + std::to_string(copy.pid) + "\n";
}

// The description of a copy, or nothing when it is not one.
std::optional<RecoveryCopy> ReadDescription(const std::filesystem::path& path, const std::string& id)
{
    std::ifstream in(path, std::ios::binary);
    std::map<std::string, std::string> fields;
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (equals != std::string::npos)
            fields[line.substr(0, equals)] = line.substr(equals + 1);
    }
    if (!in.eof() || fields.size() != 5 || !fields.count("file") || !fields.count("title") ||
        !fields.count("quality") || !fields.count("time") || !fields.count("pid"))
        return std::nullopt;
    try {
        RecoveryCopy copy;
        copy.id = id;
        copy.fileName = Unescape(fields["file"]);
        copy.title = Unescape(fields["title"]);
        copy.jpegQuality = std::stoi(fields["quality"]);
        copy.time = std::stoll(fields["time"]);
        copy.pid = std::stol(fields["pid"]);
        return copy;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Writes `bytes` (or, with `picture`, the picture as a fast PNG) to `part`,
// makes it durable and renames it to `target`.
void WriteWhole(const std::filesystem::path& part, const std::filesystem::path& target, const std::string& bytes,
                const TFastBMP* picture, const ExifBlock& exif = {})
{
    const int fd = ::open(part.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        throw SystemFailure("cannot create " + part.string());
    std::FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        throw SystemFailure("cannot write " + part.string());
    }
    try {
        if (picture)
            EncodePng(*picture, file, PngSpeed::Fast,
                      exif.empty() ? ExifBlock{} : ExifForSaving(exif, picture->Width, picture->Height));
        else if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size())
            throw SystemFailure("cannot write " + part.string());
        if (std::fflush(file) != 0 || ::fsync(::fileno(file)) != 0)
            throw SystemFailure("cannot write " + part.string());
    } catch (...) {
        std::fclose(file);
        ::unlink(part.c_str());
        throw;
    }
    if (std::fclose(file) != 0 || std::rename(part.c_str(), target.c_str()) != 0) {
        const auto failure = SystemFailure("cannot write " + target.string());
        ::unlink(part.c_str());
        throw failure;
    }
}

// Whether the editor that wrote copy `stem` still runs: its lock is held, or
// (without a lock file) its process exists.
bool StillRunning(const std::filesystem::path& lockPath, long pid)
{
    const int fd = ::open(lockPath.c_str(), O_RDWR | O_CLOEXEC);
    if (fd >= 0) {
        const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
        ::close(fd);
        return held;
    }
    return pid > 0 && pid != ::getpid() && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

std::int64_t Milliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

RecoveryStore::RecoveryStore(std::filesystem::path where) : folder(std::move(where))
{
    // Unique to this editor: its process, its start, and a count for the
    // (test) case of several stores in one process.
    static std::atomic<int> count{0};
    id =
        "krtphoto-" + std::to_string(::getpid()) + "-" + std::to_string(Milliseconds()) + "-" + std::to_string(++count);
}

RecoveryStore::~RecoveryStore()
{
    if (lockFile >= 0) {
        ::unlink(Path(id, ".lock").c_str());
        ::close(lockFile);
    }
}

std::filesystem::path RecoveryStore::Path(const std::string& stem, const char* extension) const
{
    return folder / (stem + extension);
}

void RecoveryStore::Lock()
{
    if (lockFile >= 0)
        return;
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        throw std::runtime_error("cannot create " + folder.string() + ": " + error.message());
    const int fd = ::open(Path(id, ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0)
        throw SystemFailure("cannot create " + Path(id, ".lock").string());
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        throw SystemFailure("cannot lock " + Path(id, ".lock").string());
    }
    lockFile = fd;
}

void RecoveryStore::Write(const TFastBMP& picture, const RecoveryCopy& about)
{
    Lock();
    // The picture first: a description is only ever written beside a whole one.
    WriteWhole(Path(id, ".part"), Path(id, ".png"), {}, &picture, about.exif);
    RecoveryCopy mine = about;
    mine.id = id;
    mine.pid = ::getpid();
    WriteWhole(Path(id, ".part"), Path(id, ".txt"), Describe(mine), nullptr);
    // The renames themselves must reach the disk too.
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

void RecoveryStore::Remove()
{
    // The description first: what is left is never offered as a whole copy.
    ::unlink(Path(id, ".txt").c_str());
    ::unlink(Path(id, ".png").c_str());
}

RecoveryFindings RecoveryStore::FindLeftovers()
{
    RecoveryFindings found;
    std::map<std::string, std::set<std::string>> stems; // stem -> extensions
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.is_regular_file(error))
            stems[entry.path().stem().string()].insert(entry.path().extension().string());
    for (const auto& [stem, extensions] : stems) {
        if (stem == id || stem.rfind("krtphoto-", 0) != 0)
            continue;
        const std::optional<RecoveryCopy> described =
            extensions.count(".txt") ? ReadDescription(Path(stem, ".txt"), stem) : std::nullopt;
        if (StillRunning(Path(stem, ".lock"), described ? described->pid : 0))
            continue;
        ::unlink(Path(stem, ".part").c_str());
        ::unlink(Path(stem, ".lock").c_str());
        const bool picture = extensions.count(".png") != 0, description = extensions.count(".txt") != 0;
        if (!picture && !description)
            continue;
        if (picture && described) {
            found.copies.push_back(*described);
            continue;
        }
        const std::string name = Path(stem, picture ? ".png" : ".txt").string();
        found.damaged.push_back(Say(!picture ? NoPicture : !description ? NoDescription : BadDescription, {name}));
        MoveAside(stem);
    }
    std::sort(found.copies.begin(), found.copies.end(),
              [](const RecoveryCopy& a, const RecoveryCopy& b) { return a.time > b.time; });
    return found;
}

void RecoveryStore::Load(const RecoveryCopy& copy, TFastBMP& picture, std::vector<std::uint8_t>* exif) const
{
    ReadImageFile(Path(copy.id, ".png").string(), picture, {}, exif);
}

void RecoveryStore::MoveAside(const std::string& stem)
{
    const std::filesystem::path aside = folder / "discarded";
    std::error_code error;
    std::filesystem::create_directories(aside, error);
    for (const char* extension : {".png", ".txt"}) {
        const std::filesystem::path from = Path(stem, extension);
        if (!std::filesystem::exists(from, error))
            continue;
        std::filesystem::path to = aside / (stem + extension);
        for (int n = 2; std::filesystem::exists(to, error); ++n)
            to = aside / (stem + "-" + std::to_string(n) + extension);
        std::filesystem::rename(from, to, error);
    }
}

void RecoveryStore::Discard(const RecoveryCopy& copy) { MoveAside(copy.id); }

void RecoveryStore::Adopt(const RecoveryCopy& copy)
{
    Lock();
    std::filesystem::rename(Path(copy.id, ".png"), Path(id, ".png"));
    std::filesystem::rename(Path(copy.id, ".txt"), Path(id, ".txt"));
}

} // namespace krt
