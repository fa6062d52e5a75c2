#pragma once

#include "app/Clipboard.h"
#include "app/EditCommands.h"
#include "app/FileCommands.h"
#include "lang/CaptionTables.h"
#include "support/EditorFixture.h"
#include "support/FakeWindows.h"
#include "support/ScriptedPrompts.h"

#include <memory>
#include <optional>

namespace krt::test {

// The clipboard as a picture in memory.
struct MemoryClipboard : Clipboard {
    std::optional<TFastBMP> picture;
    bool HasImage() const override { return picture.has_value(); }
    bool ReadImage(TFastBMP& into) const override
    {
        if (!picture)
            return false;
        into.CopyFrom(*picture);
        return true;
    }
    void WriteImage(const TFastBMP& image) override
    {
        picture.emplace();
        picture->CopyFrom(image);
    }
};

// The file and edit commands over a w x h white picture, with scripted
// answers, fake windows and a clipboard in memory.
struct Desk {
    explicit Desk(int w = 100, int h = 200)
        : editor(NewEditor(w, h)), windows(*editor), files(*editor, prompts, windows, windows),
          edits(*editor, prompts, windows, windows, files, clipboard)
    {
        ApplyMessageEntries(CaptionTable(Language::English), editor->Messages);
    }
    void Put(int w, int h, PackedColor color)
    {
        TFastBMP picture(w, h);
        picture.Fill(color);
        clipboard.WriteImage(picture);
    }
    std::unique_ptr<Editor> editor;
    ScriptedPrompts prompts;
    FakeWindows windows;
    MemoryClipboard clipboard;
    FileCommands files;
    EditCommands edits;
};

} // namespace krt::test
