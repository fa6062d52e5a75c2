#include "BatchCommands.h"
#include "BatchFiles.h"

#include "deform/DeformationRecord.h"
#include "deform/Warp.h"
#include "deform/formula/Prepare.h"
#include "imageio/ImageFiles.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace krt::batch {

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

namespace {

// One of `names` (their order is the enum's), or UsageError naming them all.
template <class Enum, std::size_t N>
Enum Choose(const std::string& option, const std::string& value, const char* const (&names)[N])
{
    std::string all;
    for (std::size_t i = 0; i < N; ++i) {
        if (value == names[i])
            return static_cast<Enum>(i);
        all += (i ? (i + 1 == N ? " or " : ", ") : "") + std::string(names[i]);
    }
    throw UsageError(option + " takes " + all + ", not \"" + value + "\"");
}

// --sampling, --supersample and --edge.
bool ParseSamplingOption(ArgumentCursor& cursor, WarpQuality& quality)
{
    static const char* const samplings[] = {"nearest", "bilinear", "bicubic"};
    static const char* const edges[] = {"background", "clamp", "wrap", "mirror"};
    static const char* const sides[] = {"1", "2", "4", "adaptive"};
    const std::string& option = cursor.Current();
    if (option == "--sampling")
        quality.sampling = Choose<Sampling>(option, cursor.Value(), samplings);
    else if (option == "--edge")
        quality.edge = Choose<EdgeMode>(option, cursor.Value(), edges);
    else if (option == "--supersample")
        quality.samples =
            std::array<int, 4>{1, 2, 4, Adaptive}[static_cast<std::size_t>(Choose<int>(option, cursor.Value(), sides))];
    else
        return false;
    return true;
}

// What deform was told.
struct DeformRequest {
    std::optional<std::string> recordText, name, library;
    bool russianFirst = false;
    std::array<int, 6> constants{};
    std::array<bool, 6> given{};
    PackedColor background = White;
    WarpOptions options;
    bool progress = false;
    OutputPlan plan;
    std::vector<std::string> files;
};

// The options of deform alone; false for any other.
bool ParseDeformOption(ArgumentCursor& cursor, DeformRequest& r)
{
    const std::string& a = cursor.Current();
    if (a == "--record") {
        r.recordText = cursor.Value();
    } else if (a == "--name") {
        r.name = cursor.Value();
    } else if (a == "--library") {
        r.library = cursor.Value();
    } else if (a == "--language") {
        r.russianFirst = ParseRussian(cursor.Value());
    } else if (a == "--set") {
        ParseConstant(cursor.Value(), r.constants, &r.given);
    } else if (a == "--background") {
        r.background = ParseColor("--background", cursor.Value());
    } else if (a == "--threads") {
        r.options.threads = ParseInteger(a, cursor.Value());
        if (r.options.threads < 1)
            throw UsageError("--threads needs at least 1");
    } else if (a == "--progress") {
        r.progress = true;
    } else if (a == "--backend") {
        const std::string& b = cursor.Value();
        if (b != "fast" && b != "reference")
            throw UsageError("--backend is fast or reference");
        r.options.backend = b == "fast" ? FormulaBackend::Fast : FormulaBackend::Reference;
    } else {
        return false;
    }
    return true;
}

DeformRequest ParseDeform(const Arguments& args)
{
    DeformRequest r;
    r.options.decimalSeparator = LocaleDecimalSeparator();
    for (ArgumentCursor cursor(args); cursor.Next();)
        if (!ParseDeformOption(cursor, r) && !ParseOutputOption(cursor, r.plan) &&
            !ParseSamplingOption(cursor, r.options.quality))
            cursor.Plain(r.files);
    if (r.recordText.has_value() == r.name.has_value())
        throw UsageError("deform needs either --record TEXT or --name NAME");
    if (r.library && !r.name)
        throw UsageError("--library goes with --name");
    // Progress is shown for a single picture only: several at once would mix their lines.
    if (r.progress && !r.plan.outDir)
        r.options.progress = [](double share) {
            std::fprintf(stderr, "\r%3d%%", static_cast<int>(share * 100));
            return true;
        };
    return r;
}

// The record named or given, with the constants set on the command line.
DeformationParams ChosenParams(const DeformRequest& r)
{
    const std::string recordText = r.name ? FindRecord(DeformationLibraries, *r.name,
                                                       LibraryRecords(DeformationLibraries, r.library, r.russianFirst))
                                          : *r.recordText;
    DeformationParams params = ParseRecord(recordText).Params();
    for (std::size_t k = 0; k < 6; ++k)
        if (r.given[k])
            params.constants[k] = r.constants[k];
    return params;
}

int Deform(const Arguments& args)
{
    const DeformRequest r = ParseDeform(args);
    const DeformationParams params = ChosenParams(r);
    return RunOverFiles("deform", r.files, r.plan, [&](TFastBMP&& image, int threads) {
        WarpOptions share = r.options;
        share.threads = r.options.threads ? r.options.threads : threads;
        TFastBMP result(image.Width, image.Height);
        const WarpResult warp = ApplyDeformation(result, image, params, r.background, share);
        if (share.progress)
            std::fputc('\n', stderr);
        if (warp.status == WarpStatus::IncorrectFormula)
            throw BareFailure(std::string("Incorrect formula ") + warp.failedFormula);
        return result;
    });
}

} // namespace

const BatchCommand DeformCommand{
    "deform",
    "deform (--record TEXT | --name NAME [--library FILE]) [options] IN OUT",
    "Usage: krtphoto-batch deform (--record TEXT | --name NAME [--library FILE])\n"
    "         [--set a=N]... [--background RRGGBB] [--threads N] [--progress]\n"
    "         [--quality N] [--backend fast|reference] [--language en|ru]\n"
    "         [--sampling nearest|bilinear|bicubic] [--supersample 1|2|4|adaptive]\n"
    "         [--edge background|clamp|wrap|mirror] IN OUT\n"
    "   (or --out-dir DIR [--format EXT] [--overwrite] [--jobs N] IN...)\n"
    "\n"
    "Applies a deformation to the whole picture IN, as OK in the deformation\n"
    "dialog would, and writes OUT (named as for convert).\n"
    "\n"
    "  --name NAME         a deformation of the libraries (krtphoto-batch list\n"
    "                      shows them): the built-in libraries of both languages\n"
    "                      (--language chooses which comes first) and your own;\n"
    "                      with --library FILE only that file. The name matches\n"
    "                      without regard to case when only one does.\n"
    "  --record TEXT       the deformation as a library line (below)\n"
    "  --set a=N           a constant a to f at slider position N, 0 to 100\n"
    "                      (default: the record's own)\n"
    "  --background RRGGBB the colour of pixels no source pixel reaches (white)\n"
    "  --threads N         worker threads (default: one per processor core)\n"
    "  --progress          shows how far the warp is on stderr\n"
    "  --backend B         fast (vectorised, the default) or reference (plain)\n"
    "  --sampling S        how a point between pixels is read: nearest (the\n"
    "                      editor's rule, the default), bilinear (its four\n"
    "                      neighbours) or bicubic (sixteen, sharper)\n"
    "  --supersample N     N x N points per pixel, averaged (1, the default, 2\n"
    "                      or 4): smooth edges and no moire where the warp shrinks;\n"
    "                      adaptive: as many as the warp shrinks there (one where\n"
    "                      it does not, at most 8 x 8)\n"
    "  --edge E            what a point outside the picture reads: background\n"
    "                      (the default), clamp (the nearest edge pixel), wrap\n"
    "                      (the picture repeated) or mirror (mirrored)\n"
    "                      A record in target coordinates read with these leaves\n"
    "                      no holes where it enlarges\n"
    "\n"
    "A record is one line: the name, \"|\", then for each constant a to f its label,\n"
    "a used flag (1 used, 0 not) and \"^\", its default (0 to 100) and \"^\"; then two\n"
    "flags, 1 for Cartesian (X|Y formulas) or 0 for polar (T|R), and 1 for source\n"
    "coordinates (each pixel fetches its source) or 0 for target (each pixel is\n"
    "placed); then the two formulas separated by \"|\". For example\n"
    "  Wave|Amp1^10^0^0^0^0^0^0^0^0^0^0^11x+a*sin(y/10)|y\n"
    "moves each row sideways by a sine of its height, a = 10 pixels at most.\n"
    "\n"
    "An incorrect formula prints \"Incorrect formula X\" (or Y, T, R) and exits 1.\n"
    "\n",
    Deform,
    true,
};

} // namespace krt::batch
