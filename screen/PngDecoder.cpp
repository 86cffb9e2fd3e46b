// The PNG bridge over libpng 1.6.
//
// Between a check and the decode that follows it, the libpng structures stay alive in one
// process-wide bridge record; a new check first drops what an earlier one left. libpng reports
// errors by jumping back to the armed point; no message is printed. The memory reader ends at
// the real end of the data, images over 32767 pixels on a side are refused by libpng's own
// limits, and a header that claims more pixels than the rest of the file could inflate to is
// refused before anyone allocates for it.
#include "screen/PngDecoder.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "screen/PixelBuffer.h"

namespace screen {

namespace {

// Deflate turns one byte into at most 1032.
constexpr std::uint64_t kMaxInflateRatio = 1032;

struct Bridge {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t cursor = 0;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
};

Bridge gBridge;

void Destroy() {
    if (gBridge.png != nullptr) {
        png_destroy_read_struct(&gBridge.png, gBridge.info != nullptr ? &gBridge.info : nullptr,
                                nullptr);
    }
    gBridge.png = nullptr;
    gBridge.info = nullptr;
}

void ReadFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* bridge = static_cast<Bridge*>(png_get_io_ptr(png));
    if (length > bridge->size - bridge->cursor) png_error(png, "read beyond the data");
    std::memcpy(out, bridge->data + bridge->cursor, length);
    bridge->cursor += length;
}

[[noreturn]] void JumpBack(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Quiet(png_structp, png_const_charp) {}

// Reads the header. libpng errors jump back to the caller's armed point.
bool ReadHeader(std::int32_t byteLimit) {
    png_structp png = gBridge.png;
    png_set_user_limits(png, kMaxSide, kMaxSide);
    if (byteLimit > 0) png_set_chunk_malloc_max(png, static_cast<png_alloc_size_t>(byteLimit));
    png_set_read_fn(png, &gBridge, ReadFromMemory);
    gBridge.info = png_create_info_struct(png);
    if (gBridge.info == nullptr) return false;
    png_read_info(png, gBridge.info);
    int interlace = 0, compression = 0, filter = 0;
    png_get_IHDR(png, gBridge.info, &gBridge.width, &gBridge.height, &gBridge.bitDepth,
                 &gBridge.colourType, &interlace, &compression, &filter);
    const std::uint64_t imageBits = std::uint64_t{gBridge.width} * gBridge.height *
                                    png_get_channels(png, gBridge.info) * gBridge.bitDepth;
    return imageBits / 8 <= kMaxInflateRatio * (gBridge.size - gBridge.cursor);
}

// Sets the transformations and reads every row into the buffer.
bool ReadRows(std::span<std::uint8_t> buffer, std::int32_t rowLength) {
    png_structp png = gBridge.png;
    png_infop info = gBridge.info;
    switch (gBridge.colourType) {
        case PNG_COLOR_TYPE_PALETTE:
            png_set_palette_to_rgb(png);
            png_set_strip_alpha(png);
            break;
        case PNG_COLOR_TYPE_GRAY:
        case PNG_COLOR_TYPE_GRAY_ALPHA:
            if (gBridge.bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
            png_set_gray_to_rgb(png);
            // A grey image's transparency chunk never becomes an alpha channel.
            if (gBridge.colourType == PNG_COLOR_TYPE_GRAY) png_set_strip_alpha(png);
            break;
        default:
            break;
    }
    if (gBridge.bitDepth == 16) png_set_strip_16(png);
    png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);

    // The rows must come out exactly as the check announced, and fit the buffer.
    const std::size_t pixelBytes = (gBridge.colourType & PNG_COLOR_MASK_ALPHA) != 0 ? 4 : 3;
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    if (png_get_channels(png, info) != pixelBytes || png_get_bit_depth(png, info) != 8)
        return false;
    if (rowLength < 0 || rowBytes > static_cast<std::size_t>(rowLength)) return false;
    if (gBridge.height == 0 ||
        buffer.size() < (gBridge.height - 1) * static_cast<std::size_t>(rowLength) + rowBytes) {
        return false;
    }
    for (int pass = 0; pass < passes; ++pass) {
        png_bytep row = buffer.data();
        for (png_uint_32 y = 0; y < gBridge.height; ++y, row += rowLength) {
            png_read_rows(png, &row, nullptr, 1);
        }
    }
    return true;
}

std::int32_t Check(std::span<const std::uint8_t> data, std::int32_t byteLimit) {
    if (data.size() < 8 || png_sig_cmp(data.data(), 0, 8) != 0) return 0;
    Destroy();
    gBridge.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpBack, Quiet);
    if (gBridge.png == nullptr) return 0;
    gBridge.data = data.data();
    gBridge.size = data.size();
    gBridge.cursor = 0;  // libpng reads the signature again itself
    if (setjmp(png_jmpbuf(gBridge.png)) != 0) {
        Destroy();
        return 0;
    }
    if (!ReadHeader(byteLimit)) {
        Destroy();
        return 0;
    }
    return (gBridge.colourType & PNG_COLOR_MASK_ALPHA) != 0 ? 2 : 1;
}

std::int32_t Decode(std::span<std::uint8_t> buffer, std::int32_t rowLength, std::int32_t) {
    if (gBridge.png == nullptr) return 0;
    if (setjmp(png_jmpbuf(gBridge.png)) != 0) {
        Destroy();
        return 0;
    }
    const std::int32_t result = ReadRows(buffer, rowLength) ? 1 : 0;
    Destroy();
    return result;
}

std::int32_t Width() { return static_cast<std::int32_t>(gBridge.width); }
std::int32_t Height() { return static_cast<std::int32_t>(gBridge.height); }

const ImageDecoder kPngDecoder{&Check, &Decode, &Width, &Height};

}  // namespace

const ImageDecoder* PngDecoder() { return &kPngDecoder; }

void DecoderPngRegister() {
    if (!ImageDecoderRegistered(&kPngDecoder)) ImageDecoderRegister(&kPngDecoder);
}

}  // namespace screen
