#pragma once

#include "core/FastBMP.h"

#include <filesystem>
#include <string>
#include <vector>

namespace krt::test {

// The shared corpora of real-world files (../shared/testdata).
std::filesystem::path TestData(const std::string& relative);

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

#include "app/ImageFiles.h"

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
