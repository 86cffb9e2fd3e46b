// Small image files made by the tests: BMP files of every depth, PNG files chunk by chunk.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

using Bytes = std::vector<std::uint8_t>;

inline void Put16(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

inline void Put32(Bytes& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

inline void Put32BigEndian(Bytes& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

struct BmpFields {
    std::int32_t width = 0;
    std::int32_t height = 0;  // as stored: negative for top-down rows
    std::uint16_t bits = 24;
    std::uint32_t compression = 0;
    std::vector<std::uint32_t> palette;  // 0x00RRGGBB, stored B, G, R, 0
    Bytes pixels;                        // stored rows (bottom-up, padded) or RLE codes
};

// A BMP file with a 40-byte information header.
inline Bytes MakeBmp(const BmpFields& fields) {
    const auto offset = static_cast<std::uint32_t>(14 + 40 + 4 * fields.palette.size());
    Bytes out = {'B', 'M'};
    Put32(out, offset + static_cast<std::uint32_t>(fields.pixels.size()));
    Put32(out, 0);
    Put32(out, offset);
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(fields.width));
    Put32(out, static_cast<std::uint32_t>(fields.height));
    Put16(out, 1);
    Put16(out, fields.bits);
    Put32(out, fields.compression);
    Put32(out, static_cast<std::uint32_t>(fields.pixels.size()));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, static_cast<std::uint32_t>(fields.palette.size()));
    Put32(out, 0);
    for (std::uint32_t colour : fields.palette) Put32(out, colour & 0xFFFFFF);
    out.insert(out.end(), fields.pixels.begin(), fields.pixels.end());
    return out;
}

// Rows given top-down, stored bottom-up, each padded to a multiple of 4 bytes.
inline Bytes StoreRows(const std::vector<Bytes>& topDown) {
    Bytes out;
    for (auto row = topDown.rbegin(); row != topDown.rend(); ++row) {
        out.insert(out.end(), row->begin(), row->end());
        while ((out.size() % 4) != 0) out.push_back(0);
    }
    return out;
}

// A pixel of the test pattern: different at every (x, y) up to 2047 x 4095, as 0x00RRGGBB.
inline std::uint32_t PatternPixel(std::int64_t x, std::int64_t y) {
    return 0x800000u | (static_cast<std::uint32_t>(x) << 12) | static_cast<std::uint32_t>(y);
}

// A 24-bit BMP of the test pattern.
inline Bytes PatternBmp(std::int32_t width, std::int32_t height) {
    std::vector<Bytes> rows;
    for (std::int32_t y = 0; y < height; ++y) {
        Bytes row;
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t pixel = PatternPixel(x, y);
            row.insert(row.end(),
                       {static_cast<std::uint8_t>(pixel), static_cast<std::uint8_t>(pixel >> 8),
                        static_cast<std::uint8_t>(pixel >> 16)});
        }
        rows.push_back(row);
    }
    return MakeBmp({width, height, 24, 0, {}, StoreRows(rows)});
}

inline void PutChunk(Bytes& out, const char* type, const Bytes& data) {
    Put32BigEndian(out, static_cast<std::uint32_t>(data.size()));
    Bytes body(type, type + 4);
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    Put32BigEndian(
        out, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

// A PNG with the given header values and filtered scanlines (each with its filter byte).
inline Bytes MakePng(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
                     std::uint8_t colourType, const Bytes& scanlines) {
    Bytes out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes header;
    Put32BigEndian(header, width);
    Put32BigEndian(header, height);
    header.insert(header.end(), {bitDepth, colourType, 0, 0, 0});
    PutChunk(out, "IHDR", header);
    uLongf packedSize = compressBound(static_cast<uLong>(scanlines.size()));
    Bytes packed(packedSize);
    compress2(packed.data(), &packedSize, scanlines.data(), static_cast<uLong>(scanlines.size()),
              9);
    packed.resize(packedSize);
    PutChunk(out, "IDAT", packed);
    PutChunk(out, "IEND", {});
    return out;
}

}  // namespace testing_support
