// Display pixel formats and the conversions into them: colours for clearing and drawing, and
// the rows of decoded images for sprites. Pure functions over every display the screen
// library knows (8-bit palette, 16-bit 5-5-5 and 5-6-5, 24 and 32 bits); this platform's
// display is always the 32-bit one with blue in the lowest byte.
#pragma once

#include <cstdint>

namespace screen {

// Pixel format codes of a display.
enum PixelFormatCode : std::int32_t {
    kFormatPalette = 1,  // 8 bits (and any depth not listed)
    kFormat555 = 2,      // 16 bits, 5-5-5
    kFormat565 = 3,      // 16 bits, 5-6-5
    kFormat24Rgb = 4,    // 24 bits, red in the lowest byte
    kFormat24Bgr = 5,    // 24 bits, blue in the lowest byte
    kFormat32Rgb = 6,    // 32 bits, red in the lowest byte
    kFormat32Bgr = 7,    // 32 bits, blue in the lowest byte
};

// The code of a display of the given depth and colour masks.
std::int32_t ClassifyPixelFormat(std::int32_t depth, std::uint32_t redMask,
                                 std::uint32_t greenMask);

// The native pixel value of a colour (r, g, b each 0..255) on a display of the given depth and
// format code. The depth, not the code, chooses the 16-bit layout. 0 for unknown depths.
std::uint32_t ColorToPixelFor(std::int32_t depth, std::int32_t formatCode, std::int32_t r,
                              std::int32_t g, std::int32_t b);

// Bytes of one display pixel: 1, 2, 3 or 4; 0 for unknown depths.
std::int32_t DisplayBytesPerPixel(std::int32_t screenDepth);

// Converts `width` pixels of one source row into display pixels at `destination`.
// Sources: 8 (palette indices, only onto an 8-bit display), 16 (5-5-5, little-endian),
// 24 (B, G, R) and 32 (B, G, R, A) bits. On 24- and 32-bit displays the bytes are written
// blue, green, red (and 0 as the fourth byte), whatever the format code says.
// Returns false, writing nothing, for pairs that the sprite loader refuses.
bool ConvertRow(const std::uint8_t* source, std::int32_t sourceDepth, std::int32_t width,
                std::uint8_t* destination, std::int32_t screenDepth, std::int32_t formatCode);

}  // namespace screen
