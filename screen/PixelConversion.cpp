// Colour and row conversions into display pixels.
#include "screen/PixelConversion.h"

#include <cstring>

namespace screen {

namespace {

void Put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) { std::memcpy(at, &value, 4); }

// B, G, R(, A) bytes of 24- or 32-bit sources into any display of 16 bits or more. One loop
// per display: this runs for every pixel of every image loaded.
void ConvertTrueColour(const std::uint8_t* source, std::int32_t step, std::int32_t width,
                       std::uint8_t* destination, std::int32_t screenDepth,
                       std::int32_t formatCode) {
    if (screenDepth == 32) {
        for (std::int32_t i = 0; i < width; ++i, source += step) {
            Put32(destination + 4 * i, source[0] | (source[1] << 8) | (source[2] << 16));
        }
    } else if (screenDepth == 24) {
        for (std::int32_t i = 0; i < width; ++i, source += step) {
            destination[3 * i] = source[0];
            destination[3 * i + 1] = source[1];
            destination[3 * i + 2] = source[2];
        }
    } else {
        for (std::int32_t i = 0; i < width; ++i, source += step) {
            const std::uint32_t b = source[0], g = source[1], r = source[2];
            Put16(destination + 2 * i, formatCode == kFormat555
                                           ? ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3)
                                           : ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
        }
    }
}

// 5-5-5 sources: copied onto a 5-5-5 display, widened elsewhere.
void Convert555(const std::uint8_t* source, std::int32_t width, std::uint8_t* destination,
                std::int32_t screenDepth, std::int32_t formatCode) {
    for (std::int32_t i = 0; i < width; ++i) {
        const std::uint32_t value = source[2 * i] | (source[2 * i + 1] << 8);
        const std::uint32_t b5 = value & 31, g5 = (value >> 5) & 31, r5 = (value >> 10) & 31;
        switch (screenDepth) {
            case 16:
                Put16(destination + 2 * i,
                      formatCode == kFormat555 ? value : (r5 << 11) | (g5 << 6) | b5);
                break;
            case 24:
                destination[3 * i] = static_cast<std::uint8_t>(b5 * 8);
                destination[3 * i + 1] = static_cast<std::uint8_t>(g5 * 8);
                destination[3 * i + 2] = static_cast<std::uint8_t>(r5 * 8);
                break;
            default:
                Put32(destination + 4 * i, (b5 * 8) | ((g5 * 8) << 8) | ((r5 * 8) << 16));
                break;
        }
    }
}

}  // namespace

std::int32_t ClassifyPixelFormat(std::int32_t depth, std::uint32_t redMask,
                                 std::uint32_t greenMask) {
    switch (depth) {
        case 16:
            return greenMask == 0x7E0 ? kFormat565 : kFormat555;
        case 24:
            return redMask == 0xFF ? kFormat24Rgb : kFormat24Bgr;
        case 32:
            return redMask == 0xFF ? kFormat32Rgb : kFormat32Bgr;
        default:
            return kFormatPalette;
    }
}

std::uint32_t ColorToPixelFor(std::int32_t depth, std::int32_t formatCode, std::int32_t r,
                              std::int32_t g, std::int32_t b) {
    const auto R = static_cast<std::uint32_t>(r & 0xFF);
    const auto G = static_cast<std::uint32_t>(g & 0xFF);
    const auto B = static_cast<std::uint32_t>(b & 0xFF);
    switch (depth) {
        case 15:
            return B / 8 + (G / 8) * 32 + (R / 8) * 1024;
        case 16:
            return B / 8 + (G / 4) * 32 + (R / 8) * 2048;
        case 24:
        case 32:
            if (formatCode == kFormat24Rgb || formatCode == kFormat32Rgb) {
                return R + G * 256 + B * 65536;
            }
            return B + G * 256 + R * 65536;
        default:
            return 0;
    }
}

std::int32_t DisplayBytesPerPixel(std::int32_t screenDepth) {
    switch (screenDepth) {
        case 8:
        case 16:
        case 24:
        case 32:
            return screenDepth / 8;
        default:
            return 0;
    }
}

bool ConvertRow(const std::uint8_t* source, std::int32_t sourceDepth, std::int32_t width,
                std::uint8_t* destination, std::int32_t screenDepth, std::int32_t formatCode) {
    if (width < 0 || DisplayBytesPerPixel(screenDepth) == 0) return false;
    switch (sourceDepth) {
        case 8:
            if (screenDepth != 8) return false;
            std::memcpy(destination, source, static_cast<std::size_t>(width));
            return true;
        case 16:
            if (screenDepth == 8) return false;
            Convert555(source, width, destination, screenDepth, formatCode);
            return true;
        case 24:
        case 32:
            if (screenDepth == 8) return false;
            ConvertTrueColour(source, sourceDepth / 8, width, destination, screenDepth, formatCode);
            return true;
        default:
            return false;
    }
}

}  // namespace screen
