#include "BatchCommands.h"

#include "core/DataPaths.h"
#include "app/ImageFiles.h"
#include "lang/LibraryFile.h"
#include "deform/DeformationRecord.h"
#include "deform/Warp.h"
#include "deform/formula/Prepare.h"

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace krt::batch {
namespace {

std::optional<std::string> FindByName(const std::string& name, const std::vector<std::string>& libraries)
{
    for (const std::string& path : libraries)
        for (const std::string& record : ReadLibraryFile(path).records)
            if (RecordName(record) == name)
                return record;
    return std::nullopt;
}

PackedColor ParseColor(const std::string& text)
{
    std::string hex = text;
    if (!hex.empty() && hex[0] == '#')
        hex.erase(0, 1);
    char* end = nullptr;
    const unsigned long value = std::strtoul(hex.c_str(), &end, 16);
    if (hex.size() != 6 || *end != '\0')
        throw UsageError("--background needs a colour as RRGGBB, not \"" + text + "\"");
    return static_cast<PackedColor>(value);
}

} // namespace

void ParseConstant(const std::string& text, std::array<int, 6>& constants, std::array<bool, 6>* given)
{
    if (text.size() < 3 || text[0] < 'a' || text[0] > 'f' || text[1] != '=')
        throw UsageError("--set needs a=N with a constant from a to f, not \"" + text + "\"");
    const int value = ParseInteger("--set", text.substr(2));
    if (value < 0 || value > 100)
        throw UsageError("a constant lies between 0 and 100, as its slider does");
    constants[static_cast<std::size_t>(text[0] - 'a')] = value;
    if (given)
        (*given)[static_cast<std::size_t>(text[0] - 'a')] = true;
}

int Deform(const Arguments& args)
{
    std::optional<std::string> recordText, name, library;
    std::array<int, 6> constants{};
    std::array<bool, 6> given{};
    PackedColor background = White;
    WarpOptions options;
    options.decimalSeparator = LocaleDecimalSeparator();
    bool progress = false;
    int quality = 80;
    std::vector<std::string> files;
    for (ArgumentCursor cursor(args); cursor.Next();) {
        const std::string& a = cursor.Current();
        auto value = [&cursor]() -> const std::string& { return cursor.Value(); };
        if (a == "--record") {
            recordText = value();
        } else if (a == "--name") {
            name = value();
        } else if (a == "--library") {
            library = value();
        } else if (a == "--set") {
            ParseConstant(value(), constants, &given);
        } else if (a == "--background") {
            background = ParseColor(value());
        } else if (a == "--threads") {
            options.threads = ParseInteger(a, value());
            if (options.threads < 1)
                throw UsageError("--threads needs at least 1");
        } else if (a == "--progress") {
            progress = true;
        } else if (a == "--quality") {
            quality = ParseQuality(value());
        } else if (a == "--backend") {
            const std::string& b = value();
            if (b != "fast" && b != "reference")
                throw UsageError("--backend is fast or reference");
            options.backend = b == "fast" ? FormulaBackend::Fast : FormulaBackend::Reference;
        } else {
            cursor.Plain(files);
        }
    }
    if (files.size() != 2)
        throw UsageError("deform needs an input and an output file");
    if (recordText.has_value() == name.has_value())
        throw UsageError("deform needs either --record TEXT or --name NAME");
    if (name) {
        const DataPaths paths = DataPaths::FromEnvironment();
        const std::vector<std::string> libraries =
            library ? std::vector<std::string>{*library}
                    : std::vector<std::string>{paths.Program("effecte.prg"), paths.User("ueffect.prg")};
        recordText = FindByName(*name, libraries);
        if (!recordText)
            throw UsageError("no deformation is called \"" + *name + "\"");
    }
    const DeformationRecord record = ParseRecord(*recordText);
    DeformationParams params = record.Params();
    for (std::size_t k = 0; k < 6; ++k)
        if (given[k])
            params.constants[k] = constants[k];

    TFastBMP image;
    ReadImageFile(files[0], image);
    TFastBMP result(image.Width, image.Height);
    if (progress)
        options.progress = [](double share) {
            std::fprintf(stderr, "\r%3d%%", static_cast<int>(share * 100));
            return true;
        };
    const WarpResult warp = ApplyDeformation(result, image, params, background, options);
    if (progress)
        std::fputc('\n', stderr);
    if (warp.status == WarpStatus::IncorrectFormula) {
        std::fprintf(stderr, "Incorrect formula %c\n", warp.failedFormula);
        return 1;
    }
    WriteImageFile(files[1], result, quality, false);
    return 0;
}

} // namespace krt::batch
