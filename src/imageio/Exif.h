#pragma once

#include <cstdint>
#include <vector>

namespace krt {

// EXIF metadata as the editor keeps it: the TIFF-structured block that
// follows "Exif\0\0" in a JPEG (a PNG eXIf chunk and a WebP EXIF chunk hold
// the same block). Every read stays inside the block: a damaged one gives
// orientation 1 and is not written back.

using ExifBlock = std::vector<std::uint8_t>;

// The block out of a JPEG APP1 payload or a chunk that may or may not start
// with "Exif\0\0"; empty when it is no TIFF block.
ExifBlock ExifFromPayload(const std::uint8_t* data, std::size_t size);

// The orientation (1 ... 8) the block gives, 1 when it gives none.
int ExifOrientation(const ExifBlock& exif);

// The block to store beside a picture of width x height whose pixels are
// upright already: orientation 1, the pixel dimensions of the picture, and
// no thumbnail (the old one would show the picture as it was before any
// crop or turn). Empty when the block cannot be read.
ExifBlock ExifForSaving(const ExifBlock& exif, int width, int height);

} // namespace krt
