#include "deform/BatchCommandLine.h"

#include <cstdio>

namespace krt {
namespace {

// 'text', each ' inside written as '\''.
std::string Quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

} // namespace

std::string BatchCommandLine(const std::string& record, const std::array<int, 6>& constants, PackedColor background,
                             const WarpQuality& quality)
{
    static const char* const samplings[] = {"nearest", "bilinear", "bicubic"};
    static const char* const edges[] = {"background", "clamp", "wrap", "mirror"};
    std::string line = "krtphoto-batch deform --record " + Quoted(record);
    for (std::size_t k = 0; k < constants.size(); ++k)
        line += " --set " + std::string(1, static_cast<char>('a' + k)) + "=" + std::to_string(constants[k]);
    char colour[8];
    std::snprintf(colour, sizeof colour, "%06X", background & 0xFFFFFFu);
    line += std::string(" --background ") + colour;
    line += std::string(" --sampling ") + samplings[static_cast<int>(quality.sampling)];
    line +=
        " --supersample " + (quality.samples == Adaptive ? std::string("adaptive") : std::to_string(quality.samples));
    line += std::string(" --edge ") + edges[static_cast<int>(quality.edge)];
    return line + " IN OUT";
}

} // namespace krt
