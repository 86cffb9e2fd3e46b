// The image-decoder registry.
#include "screen/ImageDecoder.h"

#include <array>

namespace screen {

namespace {

struct Registry {
    std::array<const ImageDecoder*, kImageDecoderCapacity> decoders{};
    std::int32_t count = 0;
    const ImageDecoder* current = nullptr;
};

Registry gRegistry;

}  // namespace

void ImageDecoderInit() { gRegistry.count = 0; }

void ImageDecoderRegister(const ImageDecoder* decoder) {
    if (decoder == nullptr || gRegistry.count >= kImageDecoderCapacity) return;
    gRegistry.decoders[static_cast<std::size_t>(gRegistry.count++)] = decoder;
}

std::int32_t ImageDecoderCount() { return gRegistry.count; }

bool ImageDecoderRegistered(const ImageDecoder* decoder) {
    for (std::int32_t i = 0; i < gRegistry.count; ++i) {
        if (gRegistry.decoders[static_cast<std::size_t>(i)] == decoder) return true;
    }
    return false;
}

std::int32_t ImageDecoderCheck(std::int32_t byteLimit, std::span<const std::uint8_t> data) {
    for (std::int32_t i = 0; i < gRegistry.count; ++i) {
        const ImageDecoder* decoder = gRegistry.decoders[static_cast<std::size_t>(i)];
        const std::int32_t answer = decoder->check(data, byteLimit);
        if (answer != 0) {
            gRegistry.current = decoder;
            return answer;
        }
    }
    return 0;
}

std::int32_t ImageDecoderWidth() {
    return gRegistry.current != nullptr ? gRegistry.current->width() : 0;
}

std::int32_t ImageDecoderHeight() {
    return gRegistry.current != nullptr ? gRegistry.current->height() : 0;
}

std::int32_t ImageDecoderDecode(std::span<std::uint8_t> buffer, std::int32_t rowLength,
                                std::int32_t flags) {
    return gRegistry.current != nullptr ? gRegistry.current->decode(buffer, rowLength, flags) : 0;
}

}  // namespace screen
