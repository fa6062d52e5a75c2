#pragma once

#include "app/Prompts.h"

namespace krt {

// Passes every question on to another Prompts, which can be swapped: the
// editor's dialogs, or a script in tests.
class PromptsRelay : public Prompts {
public:
    explicit PromptsRelay(Prompts& target) : to(&target) {}
    void Relay(Prompts& target) { to = &target; }

    Answer AskYesNoCancel(const std::string& text) override { return to->AskYesNoCancel(text); }
    bool AskYesNo(const std::string& text) override { return to->AskYesNo(text); }
    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& proposal) override
    {
        return to->AskText(title, prompt, proposal);
    }
    std::optional<std::string> ChooseFileToOpen(const std::string& lastPath) override
    {
        return to->ChooseFileToOpen(lastPath);
    }
    std::optional<std::string> ChooseFileToSave(const std::string& lastPath, int& filterIndex) override
    {
        return to->ChooseFileToSave(lastPath, filterIndex);
    }
    std::optional<ImageSize> AskNewImageSize() override { return to->AskNewImageSize(); }
    std::optional<ResizeRequest> AskResize(int width, int height) override { return to->AskResize(width, height); }

private:
    Prompts* to;
};

} // namespace krt
