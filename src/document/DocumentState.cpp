#include "document/DocumentState.h"

namespace krt {

std::string TitleForFile(const std::string& docFileName)
{
    const std::size_t slash = docFileName.find_last_of('/');
    const std::string name = slash == std::string::npos ? docFileName : docFileName.substr(slash + 1);
    return std::string(ProductTitle) + " - " + name;
}

std::string TitleForNewImage() { return std::string(ProductTitle) + " - untitled"; }

} // namespace krt
