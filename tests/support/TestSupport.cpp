#include "support/TestSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace krt::test {

std::filesystem::path TestData(const std::string& relative)
{
    const char* chosen = std::getenv("KRT_TESTDATA_DIR");
    return std::filesystem::path(chosen && *chosen ? chosen : KRT_TESTDATA_DIR) / relative;
}

std::filesystem::path ProjectData(const std::string& relative)
{
    return std::filesystem::path(KRT_PROJECT_TESTDATA_DIR) / relative;
}

bool AddressLimitsWork()
{
#if defined(__SANITIZE_ADDRESS__)
    return false;
#else
    return true;
#endif
}

namespace {

std::uint64_t AddressSpaceInUse()
{
    long pages = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm)
        return 0;
    if (std::fscanf(statm, "%ld", &pages) != 1)
        pages = 0;
    std::fclose(statm);
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(::sysconf(_SC_PAGESIZE));
}

void Limit(int resource, std::uint64_t value)
{
    const rlimit limit{static_cast<rlim_t>(value), static_cast<rlim_t>(value)};
    if (::setrlimit(resource, &limit) != 0)
        ::_exit(101);
}

} // namespace

ChildOutcome RunInChild(const std::function<int()>& body, const ChildLimits& limits)
{
    std::fflush(nullptr);
    const pid_t child = ::fork();
    if (child < 0)
        throw std::runtime_error("cannot start a child process");
    if (child == 0) {
        if (AddressLimitsWork() && limits.addressSpace)
            Limit(RLIMIT_AS, limits.addressSpace);
        if (AddressLimitsWork() && limits.addressSpaceHeadroom)
            Limit(RLIMIT_AS, AddressSpaceInUse() + limits.addressSpaceHeadroom);
        if (limits.cpuSeconds)
            Limit(RLIMIT_CPU, static_cast<std::uint64_t>(limits.cpuSeconds));
        if (limits.wallSeconds)
            ::alarm(static_cast<unsigned>(limits.wallSeconds));
        int code = 100;
        try {
            code = body();
        } catch (...) {
        }
        std::fflush(nullptr);
        ::_exit(code);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            throw std::runtime_error("lost a child process");
    ChildOutcome outcome;
    outcome.exited = WIFEXITED(status);
    outcome.code = outcome.exited ? WEXITSTATUS(status) : 0;
    outcome.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    return outcome;
}

TempFolder::TempFolder()
{
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        path = std::filesystem::temp_directory_path() / ("krt-test-" + std::to_string(rd()));
        if (std::filesystem::create_directory(path))
            return;
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder()
{
    std::error_code ec;
    std::filesystem::remove_all(path, ec);
}

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary);
    out << bytes;
}

TFastBMP PatternImage(int w, int h)
{
    TFastBMP image(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.SetPixel(x, y, PackRGB(x * 7 + y, y * 13 + x * 3, (x * y) ^ 0x5A));
    return image;
}

int MaxChannelDifference(const TFastBMP& a, const TFastBMP& b)
{
    int worst = 0;
    for (int y = 0; y < a.Height; ++y)
        for (int x = 0; x < a.Width; ++x) {
            const PackedColor p = a.Pixel(x, y), q = b.Pixel(x, y);
            worst = std::max({worst, std::abs(RedOf(p) - RedOf(q)), std::abs(GreenOf(p) - GreenOf(q)),
                              std::abs(BlueOf(p) - BlueOf(q))});
        }
    return worst;
}

} // namespace krt::test

namespace krt::test {

std::optional<TFastBMP> TryDecode(const std::filesystem::path& file, std::string* error, const DecodeLimits& limits)
{
    const auto bytes = ReadBytes(file);
    TFastBMP image;
    try {
        DecodeImage(bytes.data(), bytes.size(), FormatForReading(file.string()).value_or(ImageFormat::Bmp), image,
                    limits);
    } catch (const std::exception& e) {
        if (error)
            *error = e.what();
        return std::nullopt;
    }
    return image;
}

TFastBMP MustDecode(const std::filesystem::path& file)
{
    std::string error;
    auto image = TryDecode(file, &error);
    if (!image)
        throw std::runtime_error(file.string() + ": " + error);
    return std::move(*image);
}

std::vector<std::filesystem::path> CorpusFiles(const std::filesystem::path& folder, const std::string& extension,
                                               bool recursive)
{
    std::vector<std::filesystem::path> files;
    auto take = [&](const std::filesystem::directory_entry& entry) {
        if (entry.is_regular_file() && entry.path().extension() == extension)
            files.push_back(entry.path());
    };
    if (recursive)
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder))
            take(entry);
    else
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            take(entry);
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace krt::test

#if defined(__SANITIZE_ADDRESS__)
// The SANE test backend, the scanner of the tests, leaks a buffer of its
// reader thread at the end of every scan; the leak checker is told so in
// every test program (the backend is kept loaded, so its frames are named).
extern "C" const char* __lsan_default_suppressions() { return "leak:libsane-test\n"; }
#endif
