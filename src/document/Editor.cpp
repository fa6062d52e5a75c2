#include "document/Editor.h"

#include "core/KrtError.h"
#include "core/OwnMessages.h"

#include <new>

namespace krt {
namespace {

constexpr OwnMessage NoWorkingMemory{"Not enough memory for the working buffers of a {1} x {2} image.",
                                     "Недостаточно памяти для рабочих буферов изображения {1} x {2}."};

} // namespace

Editor::Editor(krt::Language lang, DataPaths dataPaths) : Language(lang), Paths(std::move(dataPaths))
{
    Image.Allocate(1000, 1000);
    Image.Fill(White);
    BuildDocumentBuffers();
}

void Editor::ReleaseDocumentBuffers()
{
    Selection.Release();
    Buffers = DocumentBuffers{};
}

void Editor::BuildDocumentBuffers()
{
    const auto pixels = static_cast<std::size_t>(Image.Width) * static_cast<std::size_t>(Image.Height);
    try {
        BackupImage.Allocate(Image.Width, Image.Height);
        Selection.Allocate(Image.Width, Image.Height);
        Buffers.PaintMap.assign(pixels, 0);
        Buffers.PointRows.assign(pixels, 0);
        Buffers.PointColumns.assign(pixels, 0);
        for (auto* list : {&Buffers.ViewFrameRows, &Buffers.ViewFrameColumns, &Buffers.PreviewFrameRows,
                           &Buffers.PreviewFrameColumns})
            list->assign(OutlineCapacity, 0);
        for (TFastBMP& snapshot : UndoRing)
            snapshot.Allocate(Image.Width, Image.Height);
    } catch (const std::bad_alloc&) {
        throw KrtError(Say(NoWorkingMemory, {std::to_string(Image.Width), std::to_string(Image.Height)}));
    }
    View.ScrollX = 0;
    View.ScrollY = 0;
    UndoCount = 0;
}

} // namespace krt
