#pragma once

#include "app/OutlinePhase.h"

namespace krt {

// A window that shows the selection outline (the preview and the document
// view). The main window's timer has each of them draw the current phase.
class OutlineDisplay {
public:
    virtual ~OutlineDisplay() = default;
    virtual void DrawOutline(const OutlinePhase& phase) = 0;
};

} // namespace krt
