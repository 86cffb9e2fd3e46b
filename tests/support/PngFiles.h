// PNG files of test pictures, written by the program's own encoder and read by its own
// decoders, so that a test needs no toolkit to make a tile set or to look at one.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "screen/ImageDecoder.h"
#include "screen/ImageRows.h"
#include "screen/PixelBuffer.h"
#include "screen/PixelConversion.h"
#include "screen/PngDecoder.h"
#include "screen/PngEncoder.h"
#include "support/Picture.h"
#include "support/TempDir.h"

namespace testing_support {

// The bytes of a PNG file of the picture; empty for a picture the encoder refuses.
inline std::vector<std::uint8_t> PngBytes(const Picture& picture) {
    std::vector<std::uint8_t> bytes;
    screen::PngRowWriter writer;
    bool written = writer.Start(picture.width, picture.height,
                                [&bytes](const std::uint8_t* b, std::size_t n) {
                                    bytes.insert(bytes.end(), b, b + n);
                                    return true;
                                });
    for (std::int32_t y = 0; written && y < picture.height; ++y) {
        written = writer.WriteRow(picture.pixels.data() + static_cast<std::size_t>(y) * picture.width);
    }
    return written && writer.Finish() ? bytes : std::vector<std::uint8_t>();
}

// False when the picture cannot be encoded or the file not written.
inline bool WritePng(const std::string& path, const Picture& picture) {
    const std::vector<std::uint8_t> bytes = PngBytes(picture);
    if (bytes.empty()) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

// Reads a PNG with the decoders the program uses; an empty picture when it cannot.
inline Picture ReadPng(const std::string& path) {
    static const bool registered = [] {
        screen::ImageDecoderInit();
        screen::DecoderPngRegister();
        return true;
    }();
    (void)registered;
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    screen::ImageRows rows;
    screen::PixelBuffer buffer;
    if (!screen::ReadImageRows(bytes, 32, rows) || !buffer.Allocate(rows.width, rows.height) ||
        !screen::ConvertImageRows(rows, buffer, 32, screen::kFormat32Bgr)) {
        return {};
    }
    Picture picture{rows.width, rows.height, {}};
    picture.pixels.assign(buffer.Data(), buffer.Data() + std::size_t(rows.width) * rows.height);
    return picture;
}

}  // namespace testing_support
