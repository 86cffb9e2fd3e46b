// What an image file's header says, read without decoding a pixel: its kind (PNG or BMP), its
// size, and for BMP files the depth and compression; and whether the readers take such an
// image. The size alone is what the map tool's info and check need, and every reader checks it
// here before it allocates anything.
#pragma once

#include <cstdint>
#include <span>

namespace screen {

// Most pixels an image may have to be decoded (32767 x 2048, for instance): decoded rows and
// display pixels take up to 7 bytes each, so an image within this takes at most about 470 MB.
// A small file that claims more (a 1-bit or run-length picture of 16000 x 16000) is refused
// before anything is allocated.
inline constexpr std::int64_t kMaxImagePixels = std::int64_t{1} << 26;

enum class ImageKind { Unknown, Png, Bmp };

// Why an image is not read. Damaged also covers data that ends early.
enum class ImageProblem {
    None,
    NotAnImage,              // neither PNG nor BMP, and no decoder takes it
    Damaged,                 // the header or the data is cut short or contradicts itself
    SideTooLarge,            // a side beyond kMaxSide
    TooManyPixels,           // more than kMaxImagePixels
    UnsupportedDepth,        // BMP bits per pixel other than 1, 4, 8, 16, 24 and 32
    UnsupportedCompression,  // BMP compression other than none, RLE8 and bit fields
    OutOfMemory,
};

struct ImageHeader {
    ImageKind kind = ImageKind::Unknown;
    std::int64_t width = 0;         // as stored
    std::int64_t height = 0;        // as stored; positive also for top-down BMP rows
    bool topDown = false;           // BMP rows stored top row first (negative height)
    std::uint32_t bits = 0;         // BMP bits per pixel
    std::uint32_t compression = 0;  // BMP compression code (1 RLE8, 2 RLE4, 3 bit fields, ...)
    ImageProblem problem = ImageProblem::NotAnImage;
};

// Reads the header of a PNG (its IHDR chunk) or BMP file. `problem` is None when the readers
// take an image of that header; NotAnImage for any other data.
ImageHeader ReadImageHeader(std::span<const std::uint8_t> data);

// The problem of an image of that size: a side beyond kMaxSide, or more than kMaxImagePixels.
ImageProblem ImageSizeProblem(std::int64_t width, std::int64_t height);

}  // namespace screen
