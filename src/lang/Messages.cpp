#include "lang/Messages.h"

namespace krt {

std::string* Messages::Find(const std::string& name)
{
    struct Field {
        const char* name;
        std::string Messages::*member;
    };
    static const Field fields[] = {
        {"MsgSource", &Messages::MsgSource},
        {"MsgDestination", &Messages::MsgDestination},
        {"MsgIncorrectFormula", &Messages::MsgIncorrectFormula},
        {"MsgDistortion", &Messages::MsgDistortion},
        {"MsgSaveFile", &Messages::MsgSaveFile},
        {"MsgClipboardLarger", &Messages::MsgClipboardLarger},
        {"MsgJpegQualityTitle", &Messages::MsgJpegQualityTitle},
        {"MsgJpegQualityPrompt", &Messages::MsgJpegQualityPrompt},
        {"MsgNewByStringTitle", &Messages::MsgNewByStringTitle},
        {"MsgNewByStringPrompt", &Messages::MsgNewByStringPrompt},
        {"MsgTextTooWide", &Messages::MsgTextTooWide},
        {"MsgTextTooHigh", &Messages::MsgTextTooHigh},
        {"MsgNameNoBar", &Messages::MsgNameNoBar},
        {"MsgNewByStringDefault", &Messages::MsgNewByStringDefault},
    };
    for (const Field& f : fields)
        if (name == f.name)
            return &(this->*f.member);
    return nullptr;
}

} // namespace krt
