#pragma once

#include <string>

namespace krt {

// What the file commands ask of the windows.
class DocumentHost {
public:
    virtual ~DocumentHost() = default;
    virtual void SetTitle(const std::string& title) = 0;
    // The image was replaced (size may differ): lay the preview out again and redraw.
    virtual void DocumentReplaced() = 0;
    // The tool engine ignores moves and releases until the next press.
    virtual void CancelStroke() = 0;
    // The picture's changes were saved, or the user chose to drop them (the
    // recovery copy is no longer needed).
    virtual void UnsavedChangesGone() {}
};

} // namespace krt
