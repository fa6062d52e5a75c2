#pragma once

#include "core/FastBMP.h"
#include "imageio/ColorProfile.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace krt {

// Converts a picture to sRGB band by band on a thread of its own while its
// decoder writes the next rows, so that a photo with a colour profile opens
// nearly as fast as one without.
class BandConversion {
public:
    explicit BandConversion(TFastBMP& target) : picture(target) {}
    ~BandConversion() { Finish(); }
    BandConversion(const BandConversion&) = delete;
    BandConversion& operator=(const BandConversion&) = delete;

    // The decoder's word that rows 0 ... rows - 1 are final (and which
    // profile they are in); the first call decides whether anything is to do.
    void RowsDecoded(const IccProfile& profile, int rows);
    // Waits for the bands given so far; true when they were converted (the
    // whole picture, when the decoder told of all its rows).
    bool Finish();

private:
    void Convert();

    TFastBMP& picture;
    std::unique_ptr<SrgbConverter> converter;
    bool decided = false;
    std::thread worker;
    std::mutex mutex;
    std::condition_variable more;
    int decoded = 0;   // rows final
    int converted = 0; // rows converted
    bool done = false;
};

} // namespace krt
