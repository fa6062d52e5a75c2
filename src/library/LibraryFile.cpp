#include "library/LibraryFile.h"

#include "core/AtomicFile.h"
#include "core/FileReading.h"
#include "core/Integer.h"
#include "core/KrtError.h"
#include "core/OwnMessages.h"
#include "core/Text.h"
#include "lang/TextEncoding.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace krt {
namespace {

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

constexpr OwnMessage Missing{"The library {1} is missing.", "Библиотека {1} не найдена."};
constexpr OwnMessage Unreadable{"The library {1} cannot be read: {2}.", "Библиотеку {1} не удаётся прочитать: {2}."};
constexpr OwnMessage NoCount{"The library {1} does not start with the number of its records.",
                             "Библиотека {1} не начинается с числа своих записей."};
constexpr OwnMessage TooMany{"The library {1} announces {2} records; a library holds at most {3}.",
                             "Библиотека {1} объявляет {2} записей; в библиотеке их может быть не больше {3}."};
constexpr OwnMessage EndsEarly{"The library {1} ends after {2} of its {3} records.",
                               "Библиотека {1} кончается после {2} из своих {3} записей."};
constexpr OwnMessage TooLong{"Record {1} of the library {2} is longer than {3} characters and was left out.",
                             "Запись {1} библиотеки {2} длиннее {3} знаков и пропущена."};
constexpr OwnMessage LineBreak{"A record cannot hold a line break.", "Запись не может содержать перевод строки."};
constexpr OwnMessage Unstorable{
    "The record holds characters that a library file cannot store (Latin and Cyrillic letters, digits and common "
    "signs can be stored).",
    "Запись содержит знаки, которые нельзя сохранить в библиотеке (можно латинские и русские буквы, цифры и обычные "
    "знаки)."};
constexpr OwnMessage RecordTooLong{"The record is {1} characters long; a library record holds at most {2}.",
                                   "Запись длиной {1} знаков; запись библиотеки может быть не длиннее {2}."};
constexpr OwnMessage CannotSave{"Cannot save {1}: {2}", "Не удаётся сохранить {1}: {2}"};
constexpr OwnMessage LibraryFull{"a library holds at most {1} records.",
                                 "в библиотеке может быть не больше {1} записей."};

// A line's text without its line end, and where the next line starts.
struct Line {
    std::string text;
    std::size_t end;
};

std::vector<Line> SplitLines(const std::string& bytes)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const bool terminated = end != std::string::npos;
        if (!terminated)
            end = bytes.size();
        std::string line = bytes.substr(start, end - start);
        // CR LF, LF, or a CR alone closing the file's last line.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back({std::move(line), std::min(end + 1, bytes.size())});
        start = end + 1;
    }
    return lines;
}

} // namespace

LibraryContents ReadLibraryFile(const std::string& path)
{
    LibraryContents contents;
    auto refuse = [&](const std::string& problem) {
        contents.complete = false;
        contents.problems.push_back(problem);
        return contents;
    };
    std::string bytes;
    try {
        bytes = ReadTextFile(path, MaxLibraryFileBytes);
    } catch (const std::system_error& e) {
        if (e.code() != std::errc::no_such_file_or_directory)
            return refuse(Say(Unreadable, {Quoted(path), e.what()}));
        contents.problems.push_back(Say(Missing, {Quoted(path)}));
        return contents;
    } catch (const std::runtime_error& e) {
        return refuse(Say(Unreadable, {Quoted(path), e.what()}));
    }
    // An empty file holds nothing to lose: it is an empty library.
    if (bytes.find_first_not_of(" \t\r\n") == std::string::npos)
        return contents;
    const std::vector<Line> lines = SplitLines(bytes);
    const std::optional<int> announced = lines.empty() ? std::nullopt : ToInteger(TrimBlanks(lines[0].text));
    const int count = announced.value_or(-1);
    if (count < 0 || count > MaxLibraryRecords) {
        contents.complete = false;
        contents.problems.push_back(
            count < 0 ? Say(NoCount, {Quoted(path)})
                      : Say(TooMany, {Quoted(path), std::to_string(count), std::to_string(MaxLibraryRecords)}));
        return contents;
    }
    std::size_t next = lines.empty() ? bytes.size() : lines[0].end;
    for (int i = 1; i <= count; ++i) {
        if (i >= static_cast<int>(lines.size())) {
            contents.problems.push_back(Say(EndsEarly, {Quoted(path), std::to_string(i - 1), std::to_string(count)}));
            break;
        }
        const Line& line = lines[static_cast<std::size_t>(i)];
        next = line.end;
        if (line.text.size() > static_cast<std::size_t>(MaxLibraryLineLength)) {
            contents.complete = false;
            contents.problems.push_back(
                Say(TooLong, {std::to_string(i), Quoted(path), std::to_string(MaxLibraryLineLength)}));
            continue;
        }
        contents.records.push_back(Cp1251ToUtf8(line.text));
    }
    contents.trailing = bytes.substr(std::min(next, bytes.size()));
    return contents;
}

std::string LibraryRecordProblem(const std::string& record)
{
    if (record.find_first_of("\r\n") != std::string::npos)
        return Say(LineBreak);
    const auto encoded = Utf8ToCp1251(record);
    if (!encoded)
        return Say(Unstorable);
    if (encoded->size() > static_cast<std::size_t>(MaxLibraryLineLength))
        return Say(RecordTooLong, {std::to_string(encoded->size()), std::to_string(MaxLibraryLineLength)});
    return {};
}

void WriteLibraryFile(const std::string& path, const std::vector<std::string>& records, const std::string& trailing,
                      bool keepBackup)
{
    if (records.size() > static_cast<std::size_t>(MaxLibraryRecords))
        throw KrtError(Say(CannotSave, {Quoted(path), Say(LibraryFull, {std::to_string(MaxLibraryRecords)})}));
    std::string bytes = std::to_string(records.size()) + "\r\n";
    for (const std::string& record : records) {
        if (const std::string problem = LibraryRecordProblem(record); !problem.empty())
            throw KrtError(Say(CannotSave, {Quoted(path), problem}));
        bytes += *Utf8ToCp1251(record) + "\r\n";
    }
    bytes += trailing;
    try {
        AtomicFile file(path);
        std::error_code missing;
        if (keepBackup && std::filesystem::exists(path, missing))
            std::filesystem::copy_file(path, path + ".bak", std::filesystem::copy_options::overwrite_existing);
        file.Write(bytes.data(), bytes.size());
        file.Commit(true);
    } catch (const std::exception& e) {
        throw KrtError(Say(CannotSave, {Quoted(path), std::string(e.what()) + "."}));
    }
}

} // namespace krt
