#pragma once

#include "core/DataPaths.h"
#include "core/FastBMP.h"
#include "document/DocumentState.h"
#include "document/EditorSettings.h"
#include "document/OutlinePhase.h"
#include "document/Selection.h"
#include "document/ViewState.h"
#include "lang/Language.h"
#include "lang/Messages.h"

#include <array>
#include <cstdint>
#include <vector>

namespace krt {

constexpr int UndoDepth = 5;
// Room for points in each selection outline list.
constexpr int OutlineCapacity = 250000;

// Buffers whose size follows the document image's size.
struct DocumentBuffers {
    std::vector<std::uint8_t> PaintMap;   // w x h bytes, row y at offset y * w
    std::vector<std::uint16_t> PointRows; // work list for fills, w x h entries
    std::vector<std::uint16_t> PointColumns;
    std::vector<std::uint16_t> ViewFrameRows, ViewFrameColumns;
    std::vector<std::uint16_t> PreviewFrameRows, PreviewFrameColumns;
};

// The whole state of the editor: one image, one of everything.
class Editor {
public:
    // The state of a fresh start: a white 1000 x 1000 document, empty undo
    // history, no selection, default settings.
    Editor(krt::Language language, DataPaths paths);

    krt::Language Language;
    DataPaths Paths;
    krt::Messages Messages;
    DocumentState Document;
    EditorSettings Settings;
    OutlinePhase Outline;

    TFastBMP Image;
    TFastBMP BackupImage;
    std::array<TFastBMP, UndoDepth> UndoRing;
    int UndoCount = 0;
    krt::Selection Selection;
    ViewState View;
    DocumentBuffers Buffers;

    // Drops the selection and gives back the per-document buffers.
    void ReleaseDocumentBuffers();
    // Sizes every per-document buffer for the current image and empties the
    // undo history and the selection.
    void BuildDocumentBuffers();
};

} // namespace krt
