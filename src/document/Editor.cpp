#include "document/Editor.h"

#include "core/KrtError.h"
#include "core/OwnMessages.h"

#include <new>

namespace krt {
namespace {

constexpr OwnMessage NoWorkingMemory{"Not enough memory for the working buffers of a {1} x {2} image.",
                                     "Недостаточно памяти для рабочих буферов изображения {1} x {2}."};

} // namespace

Editor::Editor(Language lang, DataPaths dataPaths) : language(lang), paths(std::move(dataPaths))
{
    Image.Allocate(1000, 1000);
    Image.Fill(White);
    BuildDocumentBuffers();
}

void Editor::ReleaseDocumentBuffers()
{
    selection.Release();
    buffers = DocumentBuffers{};
}

void Editor::BuildDocumentBuffers()
{
    const auto pixels = static_cast<std::size_t>(Image.Width) * static_cast<std::size_t>(Image.Height);
    try {
        BackupImage.Allocate(Image.Width, Image.Height);
        selection.Allocate(Image.Width, Image.Height);
        buffers.PaintMap.assign(pixels, 0);
        buffers.PointRows.assign(pixels, 0);
        buffers.PointColumns.assign(pixels, 0);
        for (auto* list : {&buffers.ViewFrameRows, &buffers.ViewFrameColumns, &buffers.PreviewFrameRows,
                           &buffers.PreviewFrameColumns})
            list->assign(OutlineCapacity, 0);
        for (TFastBMP& snapshot : UndoRing)
            snapshot.Allocate(Image.Width, Image.Height);
    } catch (const std::bad_alloc&) {
        throw KrtError(Say(NoWorkingMemory, {std::to_string(Image.Width), std::to_string(Image.Height)}));
    }
    view.ScrollX = 0;
    view.ScrollY = 0;
    UndoCount = 0;
}

} // namespace krt
