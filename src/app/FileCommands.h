#pragma once

#include "app/DocumentHost.h"
#include "app/Prompts.h"
#include "core/OwnMessages.h"
#include "document/Editor.h"
#include "paint/ToolPalette.h"

#include <functional>
#include <optional>
#include <string>

namespace krt {

// The save dialog's filters, in order: three JPEG qualities, BMP, PNG, WebP and TIFF.
constexpr int SaveFilterCount = 7;
constexpr int SaveFilterBmp = 4;
constexpr int SaveFilterPng = 5;
constexpr int SaveFilterWebp = 6;
constexpr int SaveFilterTiff = 7;
// "JPEG. Quality - 32%  (*.jpg)|*.jpg|..." as the save dialog shows it.
const char* SaveDialogFilter();
const char* OpenDialogFilter();

// The File menu's commands over the one document.
class FileCommands {
public:
    FileCommands(Editor& e, Prompts& p, DocumentHost& h, ToolPalette& t) : editor(e), prompts(p), host(h), palette(t) {}

    void Open();
    // The file becomes the document (as Open does after its dialog, without
    // asking): a file named on the command line. Throws KrtError when it
    // cannot be read, leaving the document as it was.
    void OpenFile(const std::string& path);
    // Save and Save as: true when the picture was written; false when the
    // user cancelled a question. Errors throw KrtError.
    bool Save();
    bool SaveAs();
    void New();
    // Scan: the picture `acquire` takes from the scanner becomes the document
    // (no file name, pencil, marked changed; the title stays). Unsaved changes
    // are asked about first. Nothing from the scanner (cancelled or failed)
    // leaves the document and its changes as they were.
    void Scan(const std::function<std::optional<TFastBMP>()>& acquire);
    // A recovery copy becomes the document: its picture, file name, JPEG
    // quality and EXIF, marked changed (Save writes it, replacing commands
    // ask), no undo history, the window titled as it was (`title`; when
    // empty, as the name gives it).
    void RestoreDocument(TFastBMP&& picture, const std::string& fileName, int jpegQuality, const std::string& title,
                         std::vector<std::uint8_t> exif = {});
    // Exit: true when the program may end (nothing unsaved, or the user
    // answered the save question and the save went through).
    bool MayExit() { return AskToSaveChanges(); }

    // Whether Save is offered: a .jpg, .bmp, .png, .webp, .tif or .tiff name and unsaved changes.
    bool SaveEnabled() const;
    // Asks to save unsaved changes; false when the command that asked must
    // stop: the user cancelled the question or the save. A failed save throws.
    bool AskToSaveChanges();
    // Installs a new image: rebuilds the per-document buffers (the undo
    // history and the selection are then empty) and has the windows redrawn.
    // When the buffers cannot be had, the old image stays and KrtError is thrown.
    void ReplaceDocument(TFastBMP&& image);
    // Leaves the move tool (dropping a floating selection) for the pencil.
    void LeaveMoveTool();

    // The save dialog's filter, remembered between uses.
    int saveFilter = 1;

private:
    // Asks a save quality (1 ... 100) under `title`; nothing when cancelled,
    // KrtError saying `range` when out of it.
    std::optional<int> AskQuality(const std::string& title, const OwnMessage& range);

    Editor& editor;
    Prompts& prompts;
    DocumentHost& host;
    ToolPalette& palette;
};

// A size typed into the new-image or resize dialog: blanks around it are
// ignored. Throws KrtError for text that is not an integer.
int ParseSizeText(const std::string& text);
// Throws KrtError unless an image of that size is possible.
void CheckImageSize(int width, int height);

} // namespace krt
