// krtphoto-batch: the editor's engine from the command line.

#include "BatchCommands.h"
#include "BatchFiles.h"

#include "core/Product.h"

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>

namespace {

const krt::batch::BatchCommand* const Commands[] = {
    &krt::batch::ConvertCommand, &krt::batch::DeformCommand, &krt::batch::FilterCommand,
    &krt::batch::EffectCommand,  &krt::batch::EvalCommand,   &krt::batch::ListCommand,
};

void PrintHelp(std::FILE* to)
{
    std::fputs("Usage: krtphoto-batch COMMAND [OPTIONS] ...\n"
               "\n"
               "Runs the engine of KRT Dalmor's Photo Editor on picture files.\n"
               "\n"
               "Commands:\n",
               to);
    for (const auto* command : Commands)
        std::fprintf(to, "  %s\n", command->synopsis);
    std::fputs("\n"
               "  krtphoto-batch COMMAND --help   tells what a command does and takes\n"
               "  krtphoto-batch --version        prints the version\n"
               "\n"
               "Exit status: 0 on success; 1 on any failure, with a one-line message on stderr.\n",
               to);
}

} // namespace

int main(int argc, char** argv)
{
    krt::batch::Arguments args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        PrintHelp(args.empty() ? stderr : stdout);
        return args.empty() ? 1 : 0;
    }
    if (args[0] == "--version") {
        std::printf("krtphoto-batch %s\n", krt::ProductVersion);
        return 0;
    }
    const std::string name = args[0];
    args.erase(args.begin());
    const auto* const* found =
        std::find_if(std::begin(Commands), std::end(Commands), [&](const auto* c) { return name == c->name; });
    try {
        if (found == std::end(Commands))
            throw krt::batch::UsageError("unknown command \"" + name + "\" (see krtphoto-batch --help)");
        if (std::find(args.begin(), args.end(), "--help") != args.end()) {
            std::fputs((*found)->help, stdout);
            if ((*found)->manyFiles)
                std::fputs(krt::batch::OutputOptionsHelp, stdout);
            return 0;
        }
        return (*found)->run(args);
    } catch (const krt::batch::BareFailure& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "krtphoto-batch: %s\n", e.what());
        return 1;
    }
}
