#pragma once

#include "app/Clipboard.h"
#include "app/FileCommands.h"
#include "app/Prompts.h"
#include "document/Editor.h"
#include "paint/ToolPalette.h"
#include "paint/ViewHost.h"

namespace krt {

// Which commands the Edit menu offers when it opens.
struct EditMenuState {
    bool undo;      // a snapshot to go back to
    bool paste;     // Paste and Paste as new image: the clipboard holds a picture
    bool selection; // Cut, Copy, Clear and Crop
};

// The Edit menu's commands over the one document.
class EditCommands {
public:
    EditCommands(Editor& e, Prompts& p, ViewHost& w, ToolPalette& t, FileCommands& f, Clipboard& c)
        : editor(e), prompts(p), windows(w), palette(t), files(f), clipboard(c)
    {}

    EditMenuState MenuState() const;
    void Undo();
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    void PasteAsNewImage();
    void SelectAll();
    void InvertSelection();
    void Crop();
    void Resize();

private:
    void ShowSelection();

    Editor& editor;
    Prompts& prompts;
    ViewHost& windows;
    ToolPalette& palette;
    FileCommands& files;
    Clipboard& clipboard;
};

// The picture resized to width x height: scaled (smoothly or not), or on a
// canvas of the new size that keeps the top-left part and is black elsewhere.
TFastBMP ResizedImage(const TFastBMP& image, const ResizeRequest& request);

} // namespace krt
