#pragma once

#include "app/Prompts.h"

#include <QWidget>

namespace krt {

class TNewImage;
class TImgResize;

// The file commands' questions as the editor's dialogs.
class QtPrompts : public Prompts {
public:
    QtPrompts(QWidget* owner, TNewImage* newDialog, TImgResize* resizeDialog)
        : parent(owner), newImage(newDialog), imgResize(resizeDialog)
    {}

    Answer AskYesNoCancel(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;
    std::optional<std::string> AskText(const std::string& title, const std::string& prompt,
                                       const std::string& proposal) override;
    std::optional<std::string> ChooseFileToOpen(const std::string& lastPath) override;
    std::optional<std::string> ChooseFileToSave(const std::string& lastPath, int& filterIndex) override;
    std::optional<ImageSize> AskNewImageSize() override;
    std::optional<ResizeRequest> AskResize(int width, int height) override;

private:
    QWidget* parent;
    TNewImage* newImage;
    TImgResize* imgResize;
};

// "Description|pattern|..." as Qt's name filters.
QStringList NameFilters(const char* filter);

} // namespace krt
