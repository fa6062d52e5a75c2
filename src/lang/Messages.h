#pragma once

#include <string>

namespace krt {

// Texts that prompts and message boxes show. They stay empty until the caption
// table of the interface language has run at start-up.
struct Messages {
    std::string MsgSource;
    std::string MsgDestination;
    std::string MsgIncorrectFormula;
    std::string MsgDistortion;
    std::string MsgSaveFile;
    std::string MsgClipboardLarger;
    std::string MsgJpegQualityTitle;
    std::string MsgJpegQualityPrompt;
    std::string MsgNewByStringTitle;
    std::string MsgNewByStringPrompt;
    std::string MsgTextTooWide;
    std::string MsgTextTooHigh;
    std::string MsgNameNoBar;
    std::string MsgNewByStringDefault;

    // The field a message entry of a caption table names, or nullptr.
    std::string* Find(const std::string& name);
};

} // namespace krt
