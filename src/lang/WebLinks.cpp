#include "lang/WebLinks.h"

namespace krt {

std::string HomePageAddress(Language language)
{
    const std::string site = std::string("https://") + MakerSiteName;
    return language == Language::Russian ? site + "/" : site + "/english";
}

std::string GalleryAddress() { return std::string("https://") + MakerSiteName + "/gallery"; }

std::string ContactMailLink() { return std::string("mailto:") + MakerContactMail; }

std::string PublishingAddress(Language language, const std::string& record)
{
    const std::string path =
        language == Language::Russian ? "/cgi-bin/effectkonkurs.cgi?" : "/english/cgi-bin/effectkonkurs.cgi?";
    return std::string("http://") + MakerSiteName + path + record;
}

// The platform has no viewer for the old help format, so the help ships as
// HTML under the same base names.
std::string HelpFileName(Language language)
{
    return language == Language::Russian ? "krtphoto.html" : "krtphote.html";
}

} // namespace krt
