// BMP reading: header checks, row bounds, palette expansion and RLE8.
#include "screen/BmpReader.h"

#include "screen/PixelBuffer.h"

namespace screen {

namespace {

std::uint32_t Read16(std::span<const std::uint8_t> data, std::size_t at) {
    return data[at] | (data[at + 1] << 8);
}

std::uint32_t Read32(std::span<const std::uint8_t> data, std::size_t at) {
    return data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) |
           (static_cast<std::uint32_t>(data[at + 3]) << 24);
}

// Bytes of one stored row: the pixel bytes, then up to the next multiple of 4.
std::uint64_t PaddedRow(std::uint64_t bits) { return (bits + 31) / 32 * 4; }

// The colour table, bounded by the file.
class ColourTable {
public:
    ColourTable(std::span<const std::uint8_t> data, std::uint64_t start)
        : data_(data), start_(start) {}

    void Write(std::uint32_t index, std::uint8_t* to) const {
        const std::uint64_t at = start_ + 4ull * index;
        if (at + 3 > data_.size()) {
            to[0] = to[1] = to[2] = 0;
            return;
        }
        to[0] = data_[at];
        to[1] = data_[at + 1];
        to[2] = data_[at + 2];
    }

private:
    std::span<const std::uint8_t> data_;
    std::uint64_t start_;
};

// RLE8 into bottom-up 24-bit rows; stops at the end marker or at the end of the data.
void DecodeRle8(std::span<const std::uint8_t> pixels, const ColourTable& table, BmpImage& image,
                std::uint8_t* out) {
    std::int64_t column = 0, row = 0;
    auto put = [&](std::uint8_t index) {
        if (column >= 0 && column < image.width && row >= 0 && row < image.height) {
            table.Write(index, out + row * image.rowLength + 3 * column);
        }
        ++column;
    };
    std::size_t at = 0;
    while (at + 1 < pixels.size()) {
        const std::uint8_t count = pixels[at], value = pixels[at + 1];
        at += 2;
        if (count > 0) {
            for (int i = 0; i < count; ++i) put(value);
            continue;
        }
        if (value == 0) {  // end of row
            column = 0;
            ++row;
        } else if (value == 1) {  // end of image
            return;
        } else if (value == 2) {  // move
            if (at + 1 >= pixels.size()) return;
            column += pixels[at];
            row += pixels[at + 1];
            at += 2;
        } else {  // `value` literal indices, padded to an even count
            for (int i = 0; i < value && at < pixels.size(); ++i) put(pixels[at++]);
            if (value % 2 != 0) ++at;
        }
    }
}

}  // namespace

bool IsBmp(std::span<const std::uint8_t> data) {
    return data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
}

bool ReadBmp(std::span<const std::uint8_t> data, std::int32_t screenDepth, BmpImage& image) {
    image = BmpImage{};
    // The fields read lie in the first 34 bytes.
    if (!IsBmp(data) || data.size() < 34) return false;
    const std::uint32_t offset = Read32(data, 10);
    const std::uint32_t headerSize = Read32(data, 14);
    const auto width = static_cast<std::int32_t>(Read32(data, 18));
    const auto height = static_cast<std::int32_t>(Read32(data, 22));
    const std::uint32_t bits = Read16(data, 28);
    const std::uint32_t compression = Read32(data, 30);
    if (width < 1 || height < 1 || width > kMaxSide || height > kMaxSide) return false;
    if (offset > data.size()) return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (bits == 4 && compression == 2) return false;
    const bool rle8 = bits == 8 && compression == 1;
    const bool expand = bits <= 8 && screenDepth != 8;
    if (rle8 && !expand) return false;

    image.width = width;
    image.height = height;
    const std::span<const std::uint8_t> pixels = data.subspan(offset);
    const std::uint64_t sourceRow = PaddedRow(std::uint64_t{bits} * width);
    if (!rle8) {
        // Every row must be there; the last one may lack its padding.
        const std::uint64_t last = (std::uint64_t{bits} * width + 7) / 8;
        if ((height - 1) * sourceRow + last > pixels.size()) return false;
    } else {
        // A run covers at most 255 pixels, so a stream that could not name most of a huge
        // image is a forged header: refuse it before allocating gigabytes for its rows.
        constexpr std::uint64_t kLargeExpansion = 64ull << 20;
        const auto pixelCount =
            static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
        const auto expanded =
            (3ull * static_cast<std::uint64_t>(width) + static_cast<std::uint64_t>(width % 4)) *
            static_cast<std::uint64_t>(height);
        if (pixelCount > 255ull * pixels.size() && expanded > kLargeExpansion) return false;
    }
    if (!expand) {
        image.depth = static_cast<std::int32_t>(bits);
        image.rowLength = static_cast<std::int32_t>(sourceRow);
        image.rows = pixels.data();
        return true;
    }

    image.depth = 24;
    image.rowLength = 3 * width + width % 4;
    void* block = std::calloc(static_cast<std::size_t>(image.rowLength) * height, 1);
    if (block == nullptr) return false;
    image.expanded.reset(static_cast<std::uint8_t*>(block));
    std::uint8_t* out = image.expanded.get();
    image.rows = out;
    const ColourTable table(data, 14ull + headerSize);
    if (rle8) {
        DecodeRle8(pixels, table, image, out);
        return true;
    }
    for (std::int32_t row = 0; row < height; ++row) {
        const std::uint8_t* in = pixels.data() + row * sourceRow;
        std::uint8_t* to = out + static_cast<std::size_t>(row) * image.rowLength;
        for (std::int32_t x = 0; x < width; ++x, to += 3) {
            if (bits == 1) {
                const std::uint8_t level = (in[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
                to[0] = to[1] = to[2] = level;
            } else if (bits == 4) {
                table.Write(x % 2 == 0 ? in[x / 2] >> 4 : in[x / 2] & 15, to);
            } else {
                table.Write(in[x], to);
            }
        }
    }
    return true;
}

}  // namespace screen
