// BMP file data read into rows that the sprite loader converts to display pixels.
//
// The header is read and judged by ReadImageHeader (sizes 1..32767 and at most
// kMaxImagePixels, depths 1, 4, 8, 16, 24 and 32, no compression, RLE8 or bit fields) and then
// checked against the data: nothing is read beyond it and nothing written beyond the rows made
// here. Refused besides: uncompressed pixel data that the file does not hold in full, and RLE8
// data that ends before its end-of-image code. Rows stored top row first (a negative height)
// are read as such.
//
// Palette depths are expanded to 24 bits (B, G, R) unless the display itself has 8 bits:
// 1 bit per pixel gives black for 0 and white for 1, whatever the colour table says; 4 and 8
// bits index the colour table that follows the information header (entries beyond the file
// read as black); RLE8 is decoded, and pixels its moves pass over stay black. Bit fields other
// than the plain 5-5-5 (16 bits) and 8-8-8 (32 bits) layouts are expanded to 24 bits, each
// channel's bits widened to 8 as the 5-5-5 layout is (shifted up) or narrowed to its top 8.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "screen/ImageHeader.h"

namespace screen {

struct BmpImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t depth = 0;              // bits per pixel of the rows: 8, 16, 24 or 32
    std::int32_t rowLength = 0;          // bytes from one row to the next
    const std::uint8_t* rows = nullptr;  // the first stored row
    bool topDown = false;                // the first stored row is the top one (else the bottom)

    struct Free {
        void operator()(std::uint8_t* block) const { std::free(block); }
    };
    std::unique_ptr<std::uint8_t, Free> expanded;  // owns `rows` when the rows were expanded
};

// True when the data begins with "BM".
bool IsBmp(std::span<const std::uint8_t> data);

// Reads the rows for a display of `screenDepth` bits. None on success, else why the data is
// refused (see above) or OutOfMemory.
ImageProblem ReadBmp(std::span<const std::uint8_t> data, std::int32_t screenDepth,
                     BmpImage& image);

}  // namespace screen
