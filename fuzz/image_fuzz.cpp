// Fuzz target: arbitrary bytes as an image file, through the decoding a sprite load does:
// data beginning with "BM" read as a BMP (palette depths, RLE8, bit fields, top-down rows),
// anything else offered to the decoder registry and its PNG decoder. Every pixel row the
// reader hands out is read whole, so a row that reaches past the file or past a buffer shows
// up under the address checks.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "FuzzCheck.h"
#include "screen/BmpReader.h"
#include "screen/ImageDecoder.h"
#include "screen/ImageRows.h"
#include "screen/PixelConversion.h"
#include "screen/PngDecoder.h"

namespace {

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
    FUZZ_CHECK(std::int64_t{image.width} * image.height <= screen::kMaxImagePixels);
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

// Through the decoders as a sprite load reads them: no allocation of its own and no size cap
// here, so an image that makes the readers allocate beyond their pixel budget is a finding
// under the memory limit of the fuzz run.
void ReadWithDecoders(std::span<const std::uint8_t> data) {
    screen::ImageRows rows;
    if (!screen::ReadImageRows(data, 32, rows)) return;
    FUZZ_CHECK(rows.width >= 1 && rows.height >= 1 && rows.width <= kMaxSide &&
               rows.height <= kMaxSide);
    FUZZ_CHECK(std::int64_t{rows.width} * rows.height <= screen::kMaxImagePixels);
    screen::PixelBuffer pixels;
    if (!pixels.Allocate(rows.width, rows.height)) return;
    FUZZ_CHECK(screen::ConvertImageRows(rows, pixels, 32, screen::kFormat32Bgr));
    volatile std::uint32_t sink =
        Touch(reinterpret_cast<const std::uint8_t*>(pixels.Data()),
              static_cast<std::size_t>(rows.width) * rows.height * 4);
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
