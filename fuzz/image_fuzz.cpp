// Fuzz target: arbitrary bytes as an image file, through the decoding a sprite load does:
// data beginning with "BM" read as a BMP, anything else offered to the decoder registry and
// its PNG decoder. Every pixel row the reader hands out is read whole, so a row that reaches
// past the file or past a buffer shows up under the address checks.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "FuzzCheck.h"
#include "screen/BmpReader.h"
#include "screen/ImageDecoder.h"
#include "screen/PngDecoder.h"

namespace {

constexpr std::int32_t kByteLimit = 10000000;
constexpr std::int32_t kMaxSide = 32767;

std::uint32_t Touch(const std::uint8_t* bytes, std::size_t n) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < n; ++i) sum += bytes[i];
    return sum;
}

void ReadAsBmp(std::span<const std::uint8_t> data) {
    screen::BmpImage image;
    if (screen::ReadBmp(data, 32, image) != screen::ImageProblem::None) return;
    FUZZ_CHECK(image.width > 0 && image.height > 0 && image.rowLength > 0);
    FUZZ_CHECK(image.depth == 8 || image.depth == 16 || image.depth == 24 || image.depth == 32);
    // The pixels of each row must be there; the last row's alignment bytes need not be.
    const auto pixelBytes = static_cast<std::size_t>(image.width) * (image.depth / 8);
    FUZZ_CHECK(pixelBytes <= static_cast<std::size_t>(image.rowLength));
    const std::size_t span =
        static_cast<std::size_t>(image.rowLength) * (image.height - 1) + pixelBytes;
    if (!image.expanded) {
        FUZZ_CHECK(image.rows >= data.data() && image.rows + span <= data.data() + data.size());
    }
    std::uint32_t sum = 0;
    for (std::int32_t row = 0; row < image.height; ++row) {
        sum += Touch(image.rows + static_cast<std::size_t>(row) * image.rowLength, pixelBytes);
    }
    volatile std::uint32_t sink = sum;
    (void)sink;
}

void ReadWithDecoders(std::span<const std::uint8_t> data) {
    const std::int32_t answer = screen::ImageDecoderCheck(kByteLimit, data);
    if (answer == 0) return;
    const std::int32_t w = screen::ImageDecoderWidth(), h = screen::ImageDecoderHeight();
    FUZZ_CHECK(w >= 1 && h >= 1 && w <= kMaxSide && h <= kMaxSide);
    const std::int32_t rowLength = answer == 2 ? 4 * w : 3 * w + w % 4;
    const std::size_t size = static_cast<std::size_t>(rowLength) * (h + 1);
    if (size > (std::size_t{1} << 28)) return;  // beyond what a run may allocate
    std::unique_ptr<std::uint8_t, screen::BmpImage::Free> rows(
        static_cast<std::uint8_t*>(std::calloc(size, 1)));
    if (rows == nullptr) return;
    screen::ImageDecoderDecode(std::span<std::uint8_t>(rows.get(), size), rowLength, 0);
    volatile std::uint32_t sink = Touch(rows.get(), size);
    (void)sink;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = [] {
        screen::ImageDecoderInit();
        screen::DecoderPngRegister();
        return true;
    }();
    (void)ready;
    const std::span<const std::uint8_t> bytes(data, size);
    if (screen::IsBmp(bytes)) {
        ReadAsBmp(bytes);
    } else {
        ReadWithDecoders(bytes);
    }
    return 0;
}
