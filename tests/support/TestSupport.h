#pragma once

#include "core/FastBMP.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace krt::test {

// The shared corpora of real-world files made by others: $KRT_TESTDATA_DIR,
// else the folder found when the build was configured (../shared/testdata).
std::filesystem::path TestData(const std::string& relative);
// Whether a corpus of the shared folder is here; when not, the test says so
// (and how to point the tests at it) and is skipped.
#define KRT_REQUIRE_CORPUS(corpus)                                                                                     \
    if (!std::filesystem::is_directory(::krt::test::TestData(corpus)))                                                 \
    GTEST_SKIP() << "The shared corpus \"" << (corpus) << "\" is not at " << ::krt::test::TestData(corpus)             \
                 << "; set KRT_TESTDATA_DIR to the folder that holds it to run this test."

// The project's own test files (tests/data).
std::filesystem::path ProjectData(const std::string& relative);

// Limits for a child process: its address space (all of it, or this much
// above what it has when it starts; 0 for none) and its processor time.
struct ChildLimits {
    std::uint64_t addressSpace = 0;
    std::uint64_t addressSpaceHeadroom = 0;
    int cpuSeconds = 0;
    int wallSeconds = 0; // then SIGALRM ends it (a child that blocks uses no processor time)
};
// How a child process ended: its exit code, or the signal that killed it.
struct ChildOutcome {
    bool exited = false;
    int code = 0;
    int signal = 0;
};
// Whether address-space limits can be set (not under AddressSanitizer, which
// reserves terabytes of it).
bool AddressLimitsWork();
// Runs `body` in a forked child process under the limits; what it returns is
// the child's exit code. An exception from `body` exits with 100.
ChildOutcome RunInChild(const std::function<int()>& body, const ChildLimits& limits = {});

// A fresh empty folder under the system's temporary folder, removed on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    std::filesystem::path Path(const std::string& name = {}) const { return name.empty() ? path : path / name; }

private:
    std::filesystem::path path;
};

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::string& bytes);

// A w x h buffer whose every pixel differs from its neighbours.
TFastBMP PatternImage(int w, int h);

// Largest per-channel difference between two same-sized buffers.
int MaxChannelDifference(const TFastBMP& a, const TFastBMP& b);

} // namespace krt::test

#include "imageio/ImageFiles.h"

#include <optional>

namespace krt::test {

// Decodes a corpus file (format from its signature, else its extension).
// A decoder's refusal gives nothing and its message in `error`.
std::optional<TFastBMP> TryDecode(const std::filesystem::path& file, std::string* error = nullptr,
                                  const DecodeLimits& limits = {});
// Decodes a file that must be readable.
TFastBMP MustDecode(const std::filesystem::path& file);
// Every file of a corpus folder with the given extension, sorted.
std::vector<std::filesystem::path> CorpusFiles(const std::filesystem::path& folder, const std::string& extension,
                                               bool recursive = false);

} // namespace krt::test
