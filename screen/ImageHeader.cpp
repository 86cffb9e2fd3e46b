// Reading PNG and BMP headers.
#include "screen/ImageHeader.h"

#include "screen/PixelBuffer.h"

namespace screen {

namespace {

std::uint32_t Little32(std::span<const std::uint8_t> data, std::size_t at) {
    return data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) |
           (static_cast<std::uint32_t>(data[at + 3]) << 24);
}

std::uint32_t Big32(std::span<const std::uint8_t> data, std::size_t at) {
    return (static_cast<std::uint32_t>(data[at]) << 24) | (data[at + 1] << 16) |
           (data[at + 2] << 8) | data[at + 3];
}

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool IsPng(std::span<const std::uint8_t> data) {
    if (data.size() < 8) return false;
    for (std::size_t i = 0; i < 8; ++i) {
        if (data[i] != kPngSignature[i]) return false;
    }
    return true;
}

// The signature, then the IHDR chunk: length 13, "IHDR", width and height big-endian.
ImageHeader PngHeader(std::span<const std::uint8_t> data) {
    ImageHeader header;
    header.kind = ImageKind::Png;
    header.problem = ImageProblem::Damaged;
    if (data.size() < 33 || Big32(data, 8) != 13 || data[12] != 'I' || data[13] != 'H' ||
        data[14] != 'D' || data[15] != 'R') {
        return header;
    }
    header.width = Big32(data, 16);
    header.height = Big32(data, 20);
    if (header.width < 1 || header.height < 1 || header.width > 0x7FFFFFFF ||
        header.height > 0x7FFFFFFF) {
        return header;
    }
    header.problem = ImageSizeProblem(header.width, header.height);
    return header;
}

// Width at 18, height at 22 (negative: top-down rows), bits per pixel at 28, compression at
// 30; bit-field masks at 54.
ImageHeader BmpHeader(std::span<const std::uint8_t> data) {
    ImageHeader header;
    header.kind = ImageKind::Bmp;
    header.problem = ImageProblem::Damaged;
    if (data.size() < 34) return header;
    header.width = static_cast<std::int32_t>(Little32(data, 18));
    const std::int64_t height = static_cast<std::int32_t>(Little32(data, 22));
    header.topDown = height < 0;
    header.height = height < 0 ? -height : height;
    header.bits = data[28] | (data[29] << 8);
    header.compression = Little32(data, 30);
    if (header.width < 1 || header.height < 1) return header;
    header.problem = ImageSizeProblem(header.width, header.height);
    if (header.problem != ImageProblem::None) return header;
    const std::uint32_t bits = header.bits;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) {
        header.problem = ImageProblem::UnsupportedDepth;
        return header;
    }
    // Run-length data is stored bottom-up only; bit fields belong to 16 and 32 bits.
    const bool taken = header.compression == 0 ||
                       (header.compression == 1 && bits == 8 && !header.topDown) ||
                       (header.compression == 3 && (bits == 16 || bits == 32));
    if (!taken) {
        header.problem = ImageProblem::UnsupportedCompression;
        return header;
    }
    if (header.compression == 3 && data.size() < 66) {
        header.problem = ImageProblem::Damaged;
        return header;
    }
    header.problem = ImageProblem::None;
    return header;
}

}  // namespace

ImageProblem ImageSizeProblem(std::int64_t width, std::int64_t height) {
    if (width > kMaxSide || height > kMaxSide) return ImageProblem::SideTooLarge;
    if (width * height > kMaxImagePixels) return ImageProblem::TooManyPixels;
    return ImageProblem::None;
}

ImageHeader ReadImageHeader(std::span<const std::uint8_t> data) {
    if (IsPng(data)) return PngHeader(data);
    if (data.size() >= 2 && data[0] == 'B' && data[1] == 'M') return BmpHeader(data);
    return ImageHeader{};
}

}  // namespace screen
