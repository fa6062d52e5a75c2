#include "BatchCommands.h"

#include "core/DataPaths.h"
#include "deform/DeformationRecord.h"
#include "effects/FilterLibrary.h"
#include "lang/Language.h"
#include "library/LibraryFile.h"
#include "library/LibraryTable.h"

#include <cstdio>

namespace krt::batch {
namespace {

struct ListWords {
    const char* cartesian;
    const char* polar;
    const char* source;
    const char* target;
    const char* damaged;
};

const ListWords English{"Cartesian", "polar", "source", "target", "damaged record"};
const ListWords Russian{"декартова", "полярная", "источник", "цель", "испорченная запись"};

// One deformation per line: its name, coordinate system and kind, and the
// constants it uses with their labels and defaults.
std::string Describe(const std::string& text, const ListWords& words)
{
    std::string line = RecordName(text);
    try {
        const DeformationRecord record = ParseRecord(text);
        line += "  (" + std::string(record.cartesian ? words.cartesian : words.polar) + ", " +
                (record.source ? words.source : words.target) + ")";
        const char* separator = "  ";
        for (std::size_t k = 0; k < record.constants.size(); ++k) {
            const DeformationConstant& c = record.constants[k];
            if (!c.used)
                continue;
            line += separator + std::string(1, static_cast<char>('a' + k)) + ": " + c.label + " " +
                    std::to_string(c.defaultValue);
            separator = ", ";
        }
    } catch (const std::exception&) {
        line += std::string("  (") + words.damaged + ")";
    }
    return line;
}

int List(const Arguments& args)
{
    std::optional<std::string> library;
    std::optional<Language> language;
    bool filters = false;
    std::vector<std::string> plain;
    for (ArgumentCursor cursor(args); cursor.Next();) {
        const std::string& a = cursor.Current();
        if (a == "--library") {
            library = cursor.Value();
        } else if (a == "--filters") {
            filters = true;
        } else if (a == "--language") {
            language = ParseRussian(cursor.Value()) ? Language::Russian : Language::English;
        } else {
            cursor.Plain(plain);
        }
    }
    if (!plain.empty())
        throw UsageError("list takes no file names (see krtphoto-batch list --help)");
    const DataPaths paths = DataPaths::FromEnvironment();
    const Language shown = language.value_or(LoadLanguage(paths.User("krtphoto.lng")));
    const LibrarySet& set = filters ? FilterLibraries : DeformationLibraries;
    std::vector<std::string> records;
    if (library) {
        records = LibraryRecords(set, library, false);
    } else {
        for (const std::string& path :
             {paths.Program(shown == Language::Russian ? set.russian : set.english), paths.User(set.user)}) {
            const LibraryContents contents = ReadLibraryFile(path);
            records.insert(records.end(), contents.records.begin(), contents.records.end());
        }
    }
    for (const std::string& record : records)
        std::printf("%s\n", (filters ? RecordName(record) + "  " + FilterNumbers(record)
                                     : Describe(record, shown == Language::Russian ? Russian : English))
                                .c_str());
    return 0;
}

} // namespace

const BatchCommand ListCommand{
    "list",
    "list [--filters] [--library FILE] [--language en|ru]",
    "Usage: krtphoto-batch list [--filters] [--library FILE] [--language en|ru]\n"
    "\n"
    "Lists the deformations deform --name can choose, one per line: the name, the\n"
    "coordinate system (Cartesian or polar) and whether the formulas give source\n"
    "or target coordinates, then the constants the deformation uses with their\n"
    "labels and default slider positions (0 to 100).\n"
    "\n"
    "  --filters           list the 3 x 3 filters filter --name can choose instead:\n"
    "                      the name, the nine weights and the divisor\n"
    "  --library FILE      list the records of FILE alone\n"
    "  --language en|ru    the built-in library and the words of that language\n"
    "                      (default: the editor's interface language)\n"
    "\n"
    "The built-in libraries come with the program; your own deformations and\n"
    "filters are in ueffect.prg and ufilter.prg in the user folder\n"
    "($KRTPHOTO_HOME, else ~/.local/share/krtphoto).\n",
    List,
};

} // namespace krt::batch
