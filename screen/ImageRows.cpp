// Reading image rows and converting them into display pixels.
#include "screen/ImageRows.h"

#include <cstdlib>

#include "screen/ImageDecoder.h"
#include "screen/PixelConversion.h"

namespace screen {

namespace {

ImageProblem ReadWithDecoders(std::span<const std::uint8_t> data, ImageRows& image) {
    // A PNG's size is known before libpng is asked: one too large is said to be so.
    const ImageHeader header = ReadImageHeader(data);
    if (header.problem != ImageProblem::None && header.kind != ImageKind::Unknown) {
        return header.problem;
    }
    const std::int32_t answer = ImageDecoderCheck(kDecoderByteLimit, data);
    if (answer == 0) {
        return header.kind == ImageKind::Unknown ? ImageProblem::NotAnImage
                                                 : ImageProblem::Damaged;
    }
    const std::int32_t w = ImageDecoderWidth(), h = ImageDecoderHeight();
    if (w < 1 || h < 1) return ImageProblem::Damaged;
    if (const ImageProblem size = ImageSizeProblem(w, h); size != ImageProblem::None) return size;
    image.width = w;
    image.height = h;
    image.depth = answer == 2 ? 32 : 24;
    image.rowLength = answer == 2 ? 4 * w : 3 * w + w % 4;
    // One spare row, as decoders may expect.
    const std::size_t size = static_cast<std::size_t>(image.rowLength) * (h + 1);
    image.decoded.reset(static_cast<std::uint8_t*>(std::calloc(size, 1)));
    if (image.decoded == nullptr) return ImageProblem::OutOfMemory;
    image.rows = image.decoded.get();
    // A damaged image fails instead of showing rows that were never decoded.
    return ImageDecoderDecode(std::span<std::uint8_t>(image.decoded.get(), size), image.rowLength,
                              0) != 0
               ? ImageProblem::None
               : ImageProblem::Damaged;
}

}  // namespace

bool ReadImageRows(std::span<const std::uint8_t> data, std::int32_t screenDepth, ImageRows& image) {
    image = ImageRows{};
    if (!IsBmp(data)) {
        image.problem = ReadWithDecoders(data, image);
        if (image.problem != ImageProblem::None) {
            const ImageProblem problem = image.problem;
            image = ImageRows{};
            image.problem = problem;
        }
        return image.problem == ImageProblem::None;
    }
    image.problem = ReadBmp(data, screenDepth, image.bmp);
    if (image.problem != ImageProblem::None) return false;
    image.width = image.bmp.width;
    image.height = image.bmp.height;
    image.depth = image.bmp.depth;
    image.rowLength = image.bmp.rowLength;
    image.rows = image.bmp.rows;
    image.bottomUp = !image.bmp.topDown;
    return true;
}

bool ConvertImageRows(const ImageRows& image, PixelBuffer& pixels, std::int32_t screenDepth,
                      std::int32_t formatCode) {
    for (std::int32_t i = 0; i < pixels.Height(); ++i) {
        const std::int32_t y = image.bottomUp ? pixels.Height() - 1 - i : i;
        if (!ConvertRow(image.rows + static_cast<std::size_t>(i) * image.rowLength, image.depth,
                        pixels.Width(), reinterpret_cast<std::uint8_t*>(pixels.Row(y)), screenDepth,
                        formatCode)) {
            return false;
        }
    }
    return true;
}

}  // namespace screen
