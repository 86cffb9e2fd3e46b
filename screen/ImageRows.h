// Image file data read into pixel rows: data beginning with "BM" by the BMP reader, anything
// else by the image-decoder registry; then the rows converted into display pixels. Sprites
// load their files this way, and so does the map tool, which has no screen. Before anything is
// allocated for it, an image's size is held against kMaxImagePixels (see ImageHeader.h).
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "screen/BmpReader.h"
#include "screen/PixelBuffer.h"

namespace screen {

// The byte limit a loader gives the image decoders.
inline constexpr std::int32_t kDecoderByteLimit = 10000000;

struct ImageRows {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t depth = 0;              // bits per pixel of the rows: 8, 16, 24 or 32
    std::int32_t rowLength = 0;          // bytes from one row to the next
    const std::uint8_t* rows = nullptr;  // the first stored row
    bool bottomUp = false;               // the first stored row is the bottom one
    ImageProblem problem = ImageProblem::None;  // why ReadImageRows failed

    BmpImage bmp;                                           // owns expanded BMP rows
    std::unique_ptr<std::uint8_t, BmpImage::Free> decoded;  // owns rows a decoder wrote
};

// Reads the rows of an image for a display of `screenDepth` bits. False when no reader takes
// the data, the image is damaged or too large, or memory is short; `problem` says which. The
// rows may point into `data`.
bool ReadImageRows(std::span<const std::uint8_t> data, std::int32_t screenDepth, ImageRows& image);

// Converts the rows into `pixels`, which must be image.width x image.height, for a display of
// the given depth and pixel format code; bottom-up rows fill from the last pixel row upwards.
// False when the display cannot take rows of that depth.
bool ConvertImageRows(const ImageRows& image, PixelBuffer& pixels, std::int32_t screenDepth,
                      std::int32_t formatCode);

}  // namespace screen
