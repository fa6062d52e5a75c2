#pragma once

#include "core/FastBMP.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace krt {

// What a decoder says is wrong with a file's contents; the caller adds the name.
class DecodeError : public std::runtime_error {
public:
    explicit DecodeError(const std::string& what) : std::runtime_error(what) {}
};

// Bounds a decoder keeps to, so that a small hostile file cannot demand
// gigabytes: no side above MaxImageSide and no more than maxPixels in all.
struct DecodeLimits {
    std::int64_t maxPixels = std::int64_t{1} << 28;
};

// Throws DecodeError unless width x height is a size the editor can hold.
void CheckDecodedSize(std::int64_t width, std::int64_t height, const DecodeLimits& limits);

// Each decoder reads a whole file held in memory into `image`, or throws
// DecodeError; `image` may be left resized but is never handed out then.
void DecodeBmp(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits);
void DecodeJpeg(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits);
void DecodeGif(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits);
void DecodePng(const std::uint8_t* data, std::size_t size, TFastBMP& image, const DecodeLimits& limits);

// Encoders write a whole file to an open stream, or throw std::runtime_error
// saying what went wrong; the caller adds the file name.
void EncodeBmp(const TFastBMP& image, std::FILE* file);
void EncodeJpeg(const TFastBMP& image, int quality, std::FILE* file);
// PNG at the default compression, or `Fast` (for copies written often).
enum class PngSpeed { Default, Fast };
void EncodePng(const TFastBMP& image, std::FILE* file, PngSpeed speed = PngSpeed::Default);

} // namespace krt
