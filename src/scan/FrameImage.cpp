#include "scan/FrameImage.h"

#include "core/KrtError.h"
#include "core/OwnMessages.h"

#include <cstring>

namespace krt {
namespace {

constexpr OwnMessage UnknownKind{"The scanner sends a kind of picture the editor cannot read ({1}).",
                                 "Сканер передаёт изображение в виде, который редактор не читает ({1})."};
constexpr OwnMessage FramesDiffer{"The scanner's colour frames differ in size.",
                                  "Цветовые кадры сканера различаются по размеру."};
constexpr OwnMessage TooLarge{"The scan is larger than a picture may be ({1} x {2} pixels at most).",
                              "Скан больше допустимого размера изображения (не более {1} x {2} точек)."};
constexpr OwnMessage NoPicture{"The scanner sent no picture.", "Сканер не передал изображения."};
constexpr OwnMessage ChannelMissing{"The scanner did not send all three colour frames.",
                                    "Сканер передал не все три цветовых кадра."};

// Sample x of a line, scaled to 0..255; `channel` picks one of `samples`
// interleaved samples per pixel.
int Sample(const std::uint8_t* line, int x, int samples, int channel, int depth, bool lineArt)
{
    const int index = x * samples + channel;
    switch (depth) {
    case 1: {
        const bool set = (line[index / 8] >> (7 - index % 8)) & 1;
        return set != lineArt ? 255 : 0;
    }
    case 16: {
        std::uint16_t value;
        std::memcpy(&value, line + 2 * index, 2);
        return value >> 8;
    }
    default: return line[index];
    }
}

// Why the editor cannot read frames of this kind; empty when it can.
std::string Unreadable(const FrameParameters& p)
{
    if (p.depth != 1 && p.depth != 8 && p.depth != 16)
        return std::to_string(p.depth) + " bits per sample";
    const int samples = p.format == FrameFormat::Rgb ? 3 : 1;
    if (p.pixelsPerLine < 1 || p.lines == 0 || p.lines < -1 ||
        static_cast<long long>(p.bytesPerLine) * 8 < static_cast<long long>(p.pixelsPerLine) * samples * p.depth)
        return std::to_string(p.pixelsPerLine) + " pixels in " + std::to_string(p.bytesPerLine) + " bytes a line";
    return {};
}

} // namespace

void FrameImage::CheckReadable(const FrameParameters& p)
{
    if (const std::string reason = Unreadable(p); !reason.empty())
        throw KrtError(Say(UnknownKind, {reason}));
}

void FrameImage::AddFrame(const FrameParameters& p, const std::vector<std::uint8_t>& bytes)
{
    CheckReadable(p);
    const int lines = static_cast<int>(bytes.size() / static_cast<std::size_t>(p.bytesPerLine));
    if (p.pixelsPerLine > MaxImageSide || lines > MaxImageSide)
        throw KrtError(Say(TooLarge, {std::to_string(MaxImageSide), std::to_string(MaxImageSide)}));
    const bool single = p.format == FrameFormat::Gray || p.format == FrameFormat::Rgb;
    if (picture.Width == 0 || single) {
        picture.Allocate(p.pixelsPerLine, lines);
        picture.Fill(Black);
    } else if (picture.Width != p.pixelsPerLine || picture.Height != lines) {
        throw KrtError(Say(FramesDiffer));
    }
    const bool lineArt = p.format == FrameFormat::Gray;
    for (int y = 0; y < lines; ++y) {
        const std::uint8_t* line = bytes.data() + static_cast<std::size_t>(y) * p.bytesPerLine;
        std::uint8_t* row = picture.RowTable[static_cast<std::size_t>(y)];
        for (int x = 0; x < p.pixelsPerLine; ++x) {
            std::uint8_t* pixel = row + 3 * x; // blue, green, red
            switch (p.format) {
            case FrameFormat::Gray:
                pixel[0] = pixel[1] = pixel[2] = static_cast<std::uint8_t>(Sample(line, x, 1, 0, p.depth, lineArt));
                break;
            case FrameFormat::Rgb:
                for (int c = 0; c < 3; ++c)
                    pixel[2 - c] = static_cast<std::uint8_t>(Sample(line, x, 3, c, p.depth, false));
                break;
            case FrameFormat::Red: pixel[2] = static_cast<std::uint8_t>(Sample(line, x, 1, 0, p.depth, false)); break;
            case FrameFormat::Green: pixel[1] = static_cast<std::uint8_t>(Sample(line, x, 1, 0, p.depth, false)); break;
            case FrameFormat::Blue: pixel[0] = static_cast<std::uint8_t>(Sample(line, x, 1, 0, p.depth, false)); break;
            }
        }
    }
    if (single)
        gotChannel[0] = gotChannel[1] = gotChannel[2] = true;
    else
        gotChannel[p.format == FrameFormat::Red ? 0 : p.format == FrameFormat::Green ? 1 : 2] = true;
}

TFastBMP FrameImage::Picture()
{
    if (picture.Height == 0)
        throw KrtError(Say(NoPicture));
    if (!gotChannel[0] || !gotChannel[1] || !gotChannel[2])
        throw KrtError(Say(ChannelMissing));
    return std::move(picture);
}

} // namespace krt
