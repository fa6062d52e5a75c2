#pragma once

#include "BatchCommands.h"

#include "core/FastBMP.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace krt::batch {

// Where and how a command writes its pictures: IN OUT, or many inputs into a
// folder, several at a time.
struct OutputPlan {
    std::optional<std::string> outDir; // --out-dir: every plain argument is an input
    std::optional<std::string> format; // --format: the written type's extension
    bool overwrite = false;            // --overwrite: an existing output may be replaced
    int jobs = 0;                      // --jobs: files at once (0: one per core)
    int quality = 80;                  // --quality: JPEG or WebP quality (WebP 100: lossless)
};

// Takes the cursor's current option when it is one of the plan's; false
// otherwise. Throws UsageError for a bad value.
bool ParseOutputOption(ArgumentCursor& cursor, OutputPlan& plan);

// The help lines of those options, for the commands' --help.
extern const char* const OutputOptionsHelp;

// What a command does to one picture; `threads` is its share of the cores
// (the command's own --threads wins where it has one).
using PictureStep = std::function<TFastBMP(TFastBMP&& picture, int threads)>;

// Runs `step` over the files: without --out-dir `files` is IN OUT and any
// failure is thrown as for one file; with it every file is an input, written
// to the folder under its own name (its extension replaced by --format's),
// `jobs` at a time. Each failed file prints one line on stderr, and a final
// line counts them. The EXIF a picture came with goes to its output. Returns
// the exit status: 1 when any file failed.
int RunOverFiles(const std::string& command, const std::vector<std::string>& files, const OutputPlan& plan,
                 const PictureStep& step);

} // namespace krt::batch
