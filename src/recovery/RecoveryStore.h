#pragma once

#include "core/FastBMP.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace krt {

// A recovery copy on disk: the picture (ID.png, lossless, written fast) and
// what it belongs to (ID.txt).
struct RecoveryCopy {
    std::string id;        // the files' stem, unique to the editor that wrote them
    std::string fileName;  // the document's file; empty for a picture without a name
    std::string title;     // the main window's title as it was
    int jpegQuality = 0;   // the document's JPEG quality (0: not chosen yet)
    std::int64_t time = 0; // when it was written, seconds since 1970
    long pid = 0;          // the editor that wrote it
    // The camera's EXIF of the document, kept in the picture file (eXIf)
    // rather than the description.
    std::vector<std::uint8_t> exif;
};

// What a start-up finds: the copies of editors that are no longer running,
// newest first, and what was wrong with those that could not be read (they
// were moved to discarded/ already).
struct RecoveryFindings {
    std::vector<RecoveryCopy> copies;
    std::vector<std::string> damaged;
};

// The recovery folder as one editor uses it. The folder holds only copies,
// one lock file per running editor that has written there (ID.lock, locked
// for as long as the editor runs, so others know it is alive) and the
// discarded/ folder, where copies the user declined are kept. A copy is
// written to ID.part first and renamed, so a copy on disk is always whole.
class RecoveryStore {
public:
    // `folder` need not exist yet; nothing is created before the first copy.
    explicit RecoveryStore(std::filesystem::path folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    const std::filesystem::path& Folder() const { return folder; }

    // The copies left by editors that no longer run, newest first. Damaged
    // ones, and pictures without their description, are moved to discarded/
    // and reported; unfinished writes and locks of dead editors are removed.
    RecoveryFindings FindLeftovers();
    // Reads a copy's picture (and, when asked, its EXIF). Throws KrtError
    // saying what is wrong.
    void Load(const RecoveryCopy& copy, TFastBMP& picture, std::vector<std::uint8_t>* exif = nullptr) const;
    // Moves a copy into discarded/ (never deletes it).
    void Discard(const RecoveryCopy& copy);
    // Makes a left-over copy this editor's own: it stays until the picture is
    // saved or its changes are dropped, and no other editor offers it.
    void Adopt(const RecoveryCopy& copy);

    // This editor's copy, written whole or not at all. Throws
    // std::runtime_error with the reason (full disk, no folder, ...).
    // (`about` gives the file name, title, quality and time; its id and pid
    // are this editor's.)
    void Write(const TFastBMP& picture, const RecoveryCopy& about);
    // Removes this editor's copy, if it has one.
    void Remove();

private:
    void Lock();
    std::filesystem::path Path(const std::string& stem, const char* extension) const;
    void MoveAside(const std::string& stem);

    std::filesystem::path folder;
    std::string id;
    int lockFile = -1;
};

} // namespace krt
