#pragma once

#include "core/ui/BufferView.h"
#include "document/OutlinePhase.h"

namespace krt {

// A window that shows the selection outline (the preview and the document
// view). The main window's timer has each of them draw the current phase.
class OutlineDisplay {
public:
    virtual ~OutlineDisplay() = default;
    virtual void DrawOutline(const OutlinePhase& phase) = 0;
};

// Shows a copy of a display buffer with the outline points of the phase on it.
void ShowOutlined(BufferView& view, const TFastBMP& buffer, const std::uint16_t* rows, const std::uint16_t* columns,
                  int count, const OutlinePhase& phase);

} // namespace krt
