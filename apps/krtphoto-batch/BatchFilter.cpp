#include "BatchCommands.h"
#include "BatchFiles.h"

#include "effects/Convolution.h"
#include "effects/FilterLibrary.h"
#include "imageio/ImageFiles.h"

namespace krt::batch {
namespace {

int Filter(const Arguments& args)
{
    std::optional<std::string> recordText, name, library;
    bool russianFirst = false;
    ConvolveOptions options;
    bool threadsGiven = false;
    OutputPlan plan;
    std::vector<std::string> files;
    for (ArgumentCursor cursor(args); cursor.Next();) {
        const std::string& a = cursor.Current();
        if (a == "--record") {
            recordText = cursor.Value();
        } else if (a == "--name") {
            name = cursor.Value();
        } else if (a == "--library") {
            library = cursor.Value();
        } else if (a == "--language") {
            russianFirst = ParseRussian(cursor.Value());
        } else if (a == "--threads") {
            options.threads = ParseInRange(a, cursor.Value(), 1, 1024);
            threadsGiven = true;
        } else if (!ParseOutputOption(cursor, plan)) {
            cursor.Plain(files);
        }
    }
    if (recordText.has_value() == name.has_value())
        throw UsageError("filter needs either --record TEXT or --name NAME");
    if (library && !name)
        throw UsageError("--library goes with --name");
    if (name)
        recordText = FindRecord(FilterLibraries, *name, LibraryRecords(FilterLibraries, library, russianFirst));
    // The record is read before the picture, so a bad one costs nothing.
    const FilterKernel kernel = ParseFilterNumbers(FilterNumbers(*recordText));
    return RunOverFiles("filter", files, plan, [&](TFastBMP&& image, int threads) {
        ConvolveOptions share = options;
        if (!threadsGiven)
            share.threads = threads;
        TFastBMP result(image.Width, image.Height);
        Convolve3x3(result, image, kernel, share);
        return result;
    });
}

} // namespace

const BatchCommand FilterCommand{
    "filter",
    "filter (--record TEXT | --name NAME [--library FILE]) [options] IN OUT",
    "Usage: krtphoto-batch filter (--record TEXT | --name NAME [--library FILE])\n"
    "         [--threads N] [--quality N] [--language en|ru] IN OUT\n"
    "   (or --out-dir DIR [--format EXT] [--overwrite] [--jobs N] IN...)\n"
    "\n"
    "Applies a 3 x 3 filter to the whole picture IN, as its item of the\n"
    "\"Trilinear filters\" menu would, and writes OUT (named as for convert).\n"
    "\n"
    "  --name NAME         a filter of the libraries (krtphoto-batch list --filters\n"
    "                      shows them): the built-in libraries of both languages\n"
    "                      (--language chooses which comes first) and your own;\n"
    "                      with --library FILE only that file. The name matches\n"
    "                      without regard to case when only one does.\n"
    "  --record TEXT       the filter as a library line (below)\n"
    "  --threads N         worker threads (default: one per processor core)\n"
    "\n"
    "A record is one line: the name, \"|\", the nine weights w1 to w9 and the\n"
    "divisor d, separated by \",\". The weights run column by column: w1 to w3 are\n"
    "the left column from the top, w4 to w6 the middle one (w5 is the pixel\n"
    "itself), w7 to w9 the right one. Each byte becomes the weighted sum of its\n"
    "nine neighbours divided by d (which may be negative, never 0), truncated and\n"
    "kept within 0 to 255; the picture's edge pixels stand in for those beyond\n"
    "it. For example\n"
    "  Sharpen|0,-1,0,-1,5,-1,0,-1,0,1\n"
    "\n"
    "A record that does not hold ten integers prints \"'...' is not a valid\n"
    "integer value\", a divisor of 0 \"Division by zero\"; both exit 1.\n"
    "\n",
    Filter,
    true,
};

} // namespace krt::batch
