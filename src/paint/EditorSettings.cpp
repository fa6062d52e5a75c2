#include "paint/EditorSettings.h"

namespace krt {

PosterizeTable IdentityPosterizeTable()
{
    PosterizeTable t{};
    for (int i = 0; i < 256; ++i)
        t[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    return t;
}

} // namespace krt
