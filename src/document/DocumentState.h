#pragma once

#include "core/Product.h"

#include <cstdint>
#include <string>
#include <vector>

namespace krt {

// The one document's file state, shared by the file and edit commands.
struct DocumentState {
    std::string DocFileName; // full path; empty for a new, scanned or unnamed image
    std::string LastPath;    // the path chosen last in the open or save-as dialog
    int JpegQuality = 0;     // quality for the next JPEG save; 0 means "ask"
    int WebpQuality = 0;     // the same for WebP
    // The EXIF block of the file the picture was opened from (camera, date,
    // place), written back by the saves that can hold it; empty for a new,
    // pasted or scanned picture.
    std::vector<std::uint8_t> Exif;
    int ModifiedCount = 0; // unsaved changes; 0 means unchanged
};

// "KRT Dalmor's Photo Editor - " and the file's name without its folder.
std::string TitleForFile(const std::string& docFileName);
// "KRT Dalmor's Photo Editor - untitled", the title after New.
std::string TitleForNewImage();

} // namespace krt
