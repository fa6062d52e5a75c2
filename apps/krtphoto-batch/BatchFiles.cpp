#include "BatchFiles.h"

#include "imageio/ImageFiles.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <map>
#include <system_error>
#include <thread>

namespace krt::batch {
namespace {

int Cores() { return std::max(1, static_cast<int>(std::thread::hardware_concurrency())); }

WriteOptions WriteFor(const OutputPlan& plan, ExifBlock exif)
{
    WriteOptions options;
    options.jpegQuality = options.webpQuality = plan.quality;
    options.exif = std::move(exif);
    options.durable = false;
    return options;
}

void Process(const std::string& in, const std::string& out, const OutputPlan& plan, const PictureStep& step,
             int threads)
{
    TFastBMP picture;
    ExifBlock exif;
    ReadImageFile(in, picture, {}, &exif);
    const TFastBMP result = step(std::move(picture), threads);
    WriteImageFile(out, result, WriteFor(plan, std::move(exif)));
}

// The output of each input in the folder; an input whose output another
// input already takes gets an empty name (and fails).
std::vector<std::string> OutputNames(const std::vector<std::string>& inputs, const OutputPlan& plan)
{
    std::vector<std::string> outputs;
    std::map<std::string, std::size_t> taken;
    for (const std::string& in : inputs) {
        std::filesystem::path name = std::filesystem::path(in).filename();
        if (plan.format)
            name.replace_extension("." + *plan.format);
        const std::string out = (std::filesystem::path(*plan.outDir) / name).string();
        outputs.push_back(taken.emplace(out, outputs.size()).second ? out : std::string());
    }
    return outputs;
}

} // namespace

const char* const OutputOptionsHelp =
    "  --quality N         JPEG or WebP quality of the output, 1 to 100 (default\n"
    "                      80; WebP at 100 is lossless)\n"
    "\n"
    "Many files at once: with --out-dir DIR every plain argument is an input,\n"
    "written to DIR under its own name.\n"
    "  --out-dir DIR       the folder the outputs go to (it must exist)\n"
    "  --format EXT        the type written, by extension (png, jpg, webp, tif,\n"
    "                      bmp); default: the input's own\n"
    "  --overwrite         replace outputs that exist (default: such a file fails)\n"
    "  --jobs N            files processed at once (default: one per core)\n"
    "Each file that fails prints one line; a last line counts the failures, and\n"
    "the exit status is 1 when any file failed. The others are written all the same.\n";

bool ParseOutputOption(ArgumentCursor& cursor, OutputPlan& plan)
{
    const std::string& option = cursor.Current();
    if (option == "--quality") {
        plan.quality = ParseQuality(cursor.Value());
    } else if (option == "--out-dir") {
        plan.outDir = cursor.Value();
    } else if (option == "--format") {
        std::string format = cursor.Value();
        if (!format.empty() && format[0] == '.')
            format.erase(0, 1);
        const ImageFormat kind = FormatForWriting("x." + format);
        if (format.empty() || !CanWrite(kind) || (kind == ImageFormat::Bmp && format != "bmp" && format != "BMP"))
            throw UsageError("--format takes bmp, jpg, png, webp or tif, not \"" + format + "\"");
        plan.format = format;
    } else if (option == "--overwrite") {
        plan.overwrite = true;
    } else if (option == "--jobs") {
        plan.jobs = ParseInRange(option, cursor.Value(), 1, 1024);
    } else {
        return false;
    }
    return true;
}

int RunOverFiles(const std::string& command, const std::vector<std::string>& files, const OutputPlan& plan,
                 const PictureStep& step)
{
    if (!plan.outDir) {
        if (plan.format || plan.overwrite || plan.jobs)
            throw UsageError("--format, --overwrite and --jobs go with --out-dir");
        if (files.size() != 2)
            throw UsageError(command + " needs an input and an output file (or --out-dir DIR and inputs)");
        Process(files[0], files[1], plan, step, Cores());
        return 0;
    }
    if (files.empty())
        throw UsageError(command + " --out-dir needs at least one input file");
    if (!std::filesystem::is_directory(*plan.outDir))
        throw UsageError("--out-dir \"" + *plan.outDir + "\" is not a folder");
    const std::vector<std::string> outputs = OutputNames(files, plan);
    const int jobs = std::min<int>(plan.jobs ? plan.jobs : Cores(), static_cast<int>(files.size()));
    const int threads = std::max(1, Cores() / jobs);
    std::vector<std::string> failures(files.size());
    std::atomic<std::size_t> next{0};
    auto work = [&] {
        for (std::size_t i = next++; i < files.size(); i = next++) {
            try {
                if (outputs[i].empty())
                    throw std::runtime_error("another input of the same name is written there already");
                std::error_code error;
                if (!plan.overwrite && std::filesystem::exists(outputs[i], error))
                    throw std::runtime_error("\"" + outputs[i] + "\" exists (--overwrite replaces it)");
                Process(files[i], outputs[i], plan, step, threads);
            } catch (const std::exception& e) {
                // The reading and writing messages name their file already.
                const std::string what = e.what();
                failures[i] = what.find(files[i]) == std::string::npos ? files[i] + ": " + what : what;
            }
        }
    };
    std::vector<std::thread> workers;
    for (int j = 1; j < jobs; ++j)
        try {
            workers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // fewer at once, down to this thread alone
        }
    work();
    for (std::thread& worker : workers)
        worker.join();
    std::size_t failed = 0;
    for (const std::string& failure : failures)
        if (!failure.empty()) {
            std::fprintf(stderr, "krtphoto-batch: %s\n", failure.c_str());
            ++failed;
        }
    std::fprintf(stderr, "krtphoto-batch: %zu of %zu files failed\n", failed, files.size());
    return failed ? 1 : 0;
}

} // namespace krt::batch
