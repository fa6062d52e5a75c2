#pragma once

#include <optional>
#include <string>

namespace krt {

enum class Answer { Yes, No, Cancel };

struct ImageSize {
    int width;
    int height;
};

// What the resize dialog hands back.
struct ResizeRequest {
    int width;
    int height;
    bool changePicture; // scale the picture; otherwise only the canvas changes
    bool smoothing;     // scale with smoothing
};

// The questions commands ask the user. The editor answers them with dialogs;
// tests answer them from a script.
class Prompts {
public:
    virtual ~Prompts() = default;
    // A confirmation with the buttons Yes, No and Cancel.
    virtual Answer AskYesNoCancel(const std::string& text) = 0;
    // A confirmation with the buttons Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // A one-line input box; nothing when cancelled.
    virtual std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                               const std::string& proposal) = 0;
    // The picture open dialog, starting at lastPath.
    virtual std::optional<std::string> ChooseFileToOpen(const std::string& lastPath) = 0;
    // The picture save dialog, starting at lastPath; filterIndex (1-based) is
    // the filter shown first and, on return, the one chosen.
    virtual std::optional<std::string> ChooseFileToSave(const std::string& lastPath, int& filterIndex) = 0;
    // The new-image dialog.
    virtual std::optional<ImageSize> AskNewImageSize() = 0;
    // The resize dialog, showing the current size; nothing when cancelled.
    virtual std::optional<ResizeRequest> AskResize(int width, int height) = 0;
};

} // namespace krt
