#pragma once

#include "core/FastBMP.h"
#include "scan/Scanner.h"

#include <cstdint>
#include <vector>

namespace krt {

// Puts a scan's frames together into the 24-bit picture: one grey or colour
// frame, or a red, a green and a blue frame in any order. Samples of 8 bits
// are taken as they are and of 16 bits by their high byte; 1-bit grey is
// line art (a set bit is black), 1-bit colour a channel fully on or off.
class FrameImage {
public:
    // Throws KrtError saying why when the editor cannot read frames of this kind.
    static void CheckReadable(const FrameParameters& parameters);
    // Adds a frame's bytes (whole lines; a hand scanner's frame gives its
    // height by its length). Throws KrtError for a frame that does not fit
    // the ones before or is larger than a picture may be.
    void AddFrame(const FrameParameters& parameters, const std::vector<std::uint8_t>& bytes);
    // The picture; throws KrtError when a colour channel never came.
    TFastBMP Picture();

private:
    TFastBMP picture;
    bool gotChannel[3] = {false, false, false};
};

} // namespace krt
