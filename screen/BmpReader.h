// BMP file data read into rows that the sprite loader converts to display pixels.
//
// Header values are taken from their fixed offsets (width at 18, height at 22, bits per pixel
// at 28, compression at 30, pixel offset at 10) and checked against the data: nothing is read
// beyond it and nothing written beyond the rows made here. Refused: sizes outside 1..32767
// (negative heights, the top-down files, included), depths other than 1, 4, 8, 16, 24 and 32,
// RLE4 compression, and uncompressed pixel data that the file does not hold in full.
//
// Palette depths are expanded to 24 bits (B, G, R) unless the display itself has 8 bits:
// 1 bit per pixel gives black for 0 and white for 1, whatever the colour table says; 4 and 8
// bits index the colour table that follows the information header (entries beyond the file
// read as black); RLE8 is decoded, and pixels it does not reach stay black.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

namespace screen {

struct BmpImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t depth = 0;              // bits per pixel of the rows: 8, 16, 24 or 32
    std::int32_t rowLength = 0;          // bytes from one row to the next
    const std::uint8_t* rows = nullptr;  // the bottom row of the picture first

    struct Free {
        void operator()(std::uint8_t* block) const { std::free(block); }
    };
    std::unique_ptr<std::uint8_t, Free> expanded;  // owns `rows` when the rows were expanded
};

// True when the data begins with "BM".
bool IsBmp(std::span<const std::uint8_t> data);

// Reads the rows for a display of `screenDepth` bits. False when the data is refused (see
// above) or memory is short.
bool ReadBmp(std::span<const std::uint8_t> data, std::int32_t screenDepth, BmpImage& image);

}  // namespace screen
