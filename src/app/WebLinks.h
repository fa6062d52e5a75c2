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
// The help file's bare name in the program's data folder.
std::string HelpFileName(Language language);

} // namespace krt
