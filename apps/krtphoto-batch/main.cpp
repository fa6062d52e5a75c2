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
        throw krt::batch::UsageError("unknown command \"" + command + "\" (see krtphoto-batch --help)");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "krtphoto-batch: %s\n", e.what());
        return 1;
    }
}
