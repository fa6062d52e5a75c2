// krtphoto-batch: the editor's engine from the command line.

#include "BatchCommands.h"

#include <cstdio>
#include <exception>
#include <string>

namespace {

const char* const Help =
    "Usage: krtphoto-batch COMMAND [OPTIONS] ...\n"
    "\n"
    "Commands:\n"
    "  convert IN OUT [--quality N]\n"
    "      Reads the image IN (BMP, JPEG, GIF or PNG) and writes it to OUT in the\n"
    "      format OUT's extension asks for: .jpg or .jpeg JPEG (quality N, 1 to 100,\n"
    "      default 80), .png PNG, anything else 24-bit BMP. GIF cannot be written.\n"
    "\n"
    "  deform (--record TEXT | --name NAME [--library FILE]) [--set a=N]...\n"
    "         [--background RRGGBB] [--threads N] [--progress] [--quality N]\n"
    "         [--backend fast|reference] IN OUT\n"
    "      Applies a deformation to the whole image IN, as OK in the deformation\n"
    "      dialog would, and writes OUT. --record gives the deformation as a library\n"
    "      line; --name looks it up in the built-in English library, then in the\n"
    "      user library (or only in FILE with --library). The constants a to f\n"
    "      default to the record's slider positions; --set changes one (0 to 100).\n"
    "      Pixels that no source pixel reaches get the background (default white).\n"
    "      --threads defaults to one per processor core; --progress shows how far\n"
    "      the warp is on stderr. An incorrect formula prints \"Incorrect formula X\"\n"
    "      (or Y, T, R) and exits 1.\n"
    "\n"
    "  eval FORMULA [--polar] [--var x=V]... [--size W,H] [--set a=N]...\n"
    "      Prepares, compiles and evaluates one formula for one point and prints\n"
    "      its value (%.9g), or \"fail\" when the point fails. Inputs are x, y, cx,\n"
    "      cy (or t, r with --polar); missing ones are 0. --size gives w and h.\n"
    "      An incorrect formula prints \"Incorrect formula\" and exits 1.\n"
    "\n"
    "  --help    Shows this text.\n"
    "\n"
    "Exit status: 0 on success; 1 on any failure, with a one-line message on stderr.\n";

} // namespace

int main(int argc, char** argv)
{
    krt::batch::Arguments args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        std::fputs(Help, args.empty() ? stderr : stdout);
        return args.empty() ? 1 : 0;
    }
    const std::string command = args[0];
    args.erase(args.begin());
    try {
        if (command == "convert")
            return krt::batch::Convert(args);
        if (command == "deform")
            return krt::batch::Deform(args);
        if (command == "eval")
            return krt::batch::Eval(args);
        throw krt::batch::UsageError("unknown command \"" + command + "\" (see krtphoto-batch --help)");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "krtphoto-batch: %s\n", e.what());
        return 1;
    }
}
