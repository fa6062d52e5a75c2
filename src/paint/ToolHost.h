#pragma once

#include <string>

namespace krt {

struct ScreenPoint {
    int x;
    int y;
};

// What the tool engine asks of the document window beyond drawing: its
// caption, the pointer, and the text dialog.
class ToolHost {
public:
    virtual ~ToolHost() = default;
    // The document window's caption.
    virtual void SetViewCaption(const std::string& caption) = 0;
    // The pointer on the screen, for the Shift axis lock.
    virtual ScreenPoint PointerPosition() = 0;
    virtual void MovePointer(ScreenPoint point) = 0;
    // The text dialog, modal; the text position is already set.
    virtual void OpenTextDialog() = 0;
};

} // namespace krt
