#pragma once

#include "lang/Language.h"

#include <string>

namespace krt {

// The maker's site, as the web submenu names it.
constexpr const char* MakerSiteName = "www.krtdalmor.example";
constexpr const char* MakerContactMail = "krt@krtdalmor.example";

// The maker's home page; the English interface opens its "/english" pages.
std::string HomePageAddress(Language language);
// The gallery page that the About box's picture and product name open.
std::string GalleryAddress();
// A new mail to the maker.
std::string ContactMailLink();
// Where a deformation is sent: the maker's collecting script (under
// "/english" for the English interface) with the record, exactly as stored,
// as its query. A plain, unencrypted address.
std::string PublishingAddress(Language language, const std::string& record);
// The help file's bare name in the program's data folder.
std::string HelpFileName(Language language);

} // namespace krt
