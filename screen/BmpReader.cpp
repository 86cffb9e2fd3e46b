// BMP reading: row bounds, palette expansion, RLE8 and bit fields.
#include "screen/BmpReader.h"

#include <bit>

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

// One channel of a bit-field pixel, widened or narrowed to 8 bits.
class Channel {
public:
    explicit Channel(std::uint32_t mask)
        : mask_(mask),
          shift_(mask == 0 ? 0 : std::countr_zero(mask)),
          width_(mask == 0 ? 0 : std::bit_width(mask >> shift_)) {}

    std::uint8_t Of(std::uint32_t pixel) const {
        const std::uint32_t value = (pixel & mask_) >> shift_;
        return static_cast<std::uint8_t>(width_ >= 8 ? value >> (width_ - 8)
                                                     : value << (8 - width_));
    }

private:
    std::uint32_t mask_;
    int shift_;
    int width_;
};

// RLE8 into 24-bit rows in stored order; true when the end-of-image code was reached.
bool DecodeRle8(std::span<const std::uint8_t> pixels, const ColourTable& table, BmpImage& image,
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
            return true;
        } else if (value == 2) {  // move
            if (at + 1 >= pixels.size()) return false;
            column += pixels[at];
            row += pixels[at + 1];
            at += 2;
        } else {  // `value` literal indices, padded to an even count
            if (pixels.size() - at < value) return false;
            for (int i = 0; i < value; ++i) put(pixels[at++]);
            if (value % 2 != 0) ++at;
        }
    }
    return false;
}

// Bit fields other than the layout the plain depth has.
bool NeedsMasks(const ImageHeader& header, const std::uint32_t masks[3]) {
    if (header.compression != 3) return false;
    if (header.bits == 16) return !(masks[0] == 0x7C00 && masks[1] == 0x3E0 && masks[2] == 0x1F);
    return !(masks[0] == 0xFF0000 && masks[1] == 0xFF00 && masks[2] == 0xFF);
}

}  // namespace

bool IsBmp(std::span<const std::uint8_t> data) {
    return data.size() >= 2 && data[0] == 'B' && data[1] == 'M';
}

ImageProblem ReadBmp(std::span<const std::uint8_t> data, std::int32_t screenDepth,
                     BmpImage& image) {
    image = BmpImage{};
    const ImageHeader header = ReadImageHeader(data);
    if (header.kind != ImageKind::Bmp) return ImageProblem::NotAnImage;
    if (header.problem != ImageProblem::None) return header.problem;
    const std::uint32_t offset = Read32(data, 10);
    const std::uint32_t headerSize = Read32(data, 14);
    const auto width = static_cast<std::int32_t>(header.width);
    const auto height = static_cast<std::int32_t>(header.height);
    const std::uint32_t bits = header.bits;
    if (offset > data.size()) return ImageProblem::Damaged;
    std::uint32_t masks[3] = {0, 0, 0};
    if (header.compression == 3) {
        for (int i = 0; i < 3; ++i) masks[i] = Read32(data, 54 + 4 * static_cast<std::size_t>(i));
    }
    const bool rle8 = header.compression == 1;
    const bool masked = NeedsMasks(header, masks);
    const bool expand = (bits <= 8 || masked) && screenDepth != 8;
    if ((rle8 || masked) && !expand) return ImageProblem::UnsupportedDepth;

    image.width = width;
    image.height = height;
    image.topDown = header.topDown;
    const std::span<const std::uint8_t> pixels = data.subspan(offset);
    const std::uint64_t sourceRow = PaddedRow(std::uint64_t{bits} * width);
    if (!rle8) {
        // Every row must be there; the last one may lack its padding.
        const std::uint64_t last = (std::uint64_t{bits} * width + 7) / 8;
        if ((height - 1) * sourceRow + last > pixels.size()) return ImageProblem::Damaged;
    } else {
        // A run covers at most 255 pixels, so a stream that could not name most of a large
        // image is a forged header: refuse it before allocating for its rows.
        constexpr std::uint64_t kLargeExpansion = 64ull << 20;
        const auto pixelCount =
            static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height);
        const auto expanded =
            (3ull * static_cast<std::uint64_t>(width) + static_cast<std::uint64_t>(width % 4)) *
            static_cast<std::uint64_t>(height);
        if (pixelCount > 255ull * pixels.size() && expanded > kLargeExpansion) {
            return ImageProblem::Damaged;
        }
    }
    if (!expand) {
        image.depth = static_cast<std::int32_t>(bits);
        image.rowLength = static_cast<std::int32_t>(sourceRow);
        image.rows = pixels.data();
        return ImageProblem::None;
    }

    image.depth = 24;
    image.rowLength = 3 * width + width % 4;
    void* block = std::calloc(static_cast<std::size_t>(image.rowLength) * height, 1);
    if (block == nullptr) return ImageProblem::OutOfMemory;
    image.expanded.reset(static_cast<std::uint8_t*>(block));
    std::uint8_t* out = image.expanded.get();
    image.rows = out;
    const ColourTable table(data, 14ull + headerSize);
    if (rle8) {
        if (DecodeRle8(pixels, table, image, out)) return ImageProblem::None;
        image = BmpImage{};
        return ImageProblem::Damaged;
    }
    const Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (std::int32_t row = 0; row < height; ++row) {
        const std::uint8_t* in = pixels.data() + row * sourceRow;
        std::uint8_t* to = out + static_cast<std::size_t>(row) * image.rowLength;
        for (std::int32_t x = 0; x < width; ++x, to += 3) {
            if (masked) {
                const std::uint32_t pixel =
                    bits == 16 ? Read16(pixels, row * sourceRow + 2ull * x)
                               : Read32(pixels, row * sourceRow + 4ull * x);
                to[0] = blue.Of(pixel);
                to[1] = green.Of(pixel);
                to[2] = red.Of(pixel);
            } else if (bits == 1) {
                const std::uint8_t level = (in[x / 8] >> (7 - x % 8)) & 1 ? 255 : 0;
                to[0] = to[1] = to[2] = level;
            } else if (bits == 4) {
                table.Write(x % 2 == 0 ? in[x / 2] >> 4 : in[x / 2] & 15, to);
            } else {
                table.Write(in[x], to);
            }
        }
    }
    return ImageProblem::None;
}

}  // namespace screen
