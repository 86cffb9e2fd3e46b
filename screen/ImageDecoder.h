// The image-decoder registry: an ordered list of decoders that the sprite loader asks, in
// registration order, whether they take a block of file data; the first that does reports
// the image's size and writes its rows (8-bit blue, green, red, and alpha when the image has
// it) into a buffer the loader supplies.
#pragma once

#include <cstdint>
#include <span>

namespace screen {

struct ImageDecoder {
    // 0: not taken; 1: taken, rows of 3 bytes per pixel; 2: taken, 4 bytes per pixel (alpha).
    // A decoder reads no further than the data; byteLimit caps what it may allocate for one
    // piece of the file. The data must stay alive until the decode.
    std::int32_t (*check)(std::span<const std::uint8_t> data, std::int32_t byteLimit);
    // Writes the rows of the image the last check took, top row first, row i at
    // i x rowLength; never beyond the buffer. 1 when the whole image was written, 0 when the
    // data turned out damaged (rows not reached keep what the buffer held). Flags are unused.
    std::int32_t (*decode)(std::span<std::uint8_t> buffer, std::int32_t rowLength,
                           std::int32_t flags);
    std::int32_t (*width)();
    std::int32_t (*height)();
};

// Decoders the registry can hold.
inline constexpr std::int32_t kImageDecoderCapacity = 100;

// Empties the registry. Start-up step.
void ImageDecoderInit();

// Appends a decoder (a record that lives for the whole process). Ignored when full.
void ImageDecoderRegister(const ImageDecoder* decoder);

// Registered decoders, and whether one of them is `decoder`.
std::int32_t ImageDecoderCount();
bool ImageDecoderRegistered(const ImageDecoder* decoder);

// Asks each decoder in turn; the first non-zero answer makes that decoder current and is
// returned. 0 when none takes the data (the current decoder stays as it was).
std::int32_t ImageDecoderCheck(std::int32_t byteLimit, std::span<const std::uint8_t> data);

// The current decoder's answers; 0 when there is none.
std::int32_t ImageDecoderWidth();
std::int32_t ImageDecoderHeight();
std::int32_t ImageDecoderDecode(std::span<std::uint8_t> buffer, std::int32_t rowLength,
                                std::int32_t flags);

}  // namespace screen
