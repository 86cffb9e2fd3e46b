// The PNG bridge and the decoder registry, against libpng's own decoding of PngSuite.
#include <png.h>

#include <array>
#include <csetjmp>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ImageFiles.h"
#include "ScreenFixture.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Bytes;
using testing_support::kGrey;
using testing_support::ScreenTest;

struct Reference {
    bool ok = false;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool alpha = false;                               // the colour type has an alpha channel
    std::vector<std::array<std::uint8_t, 4>> pixels;  // B, G, R, A; top row first
};

struct MemoryReader {
    const Bytes* data;
    std::size_t at;
};

void ReadMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (length > reader->data->size() - reader->at) png_error(png, "short");
    std::memcpy(out, reader->data->data() + reader->at, length);
    reader->at += length;
}

[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void Quiet(png_structp, png_const_charp) {}

void Collect(png_structp png, png_infop info, Reference& out) {
    png_read_png(png, info, PNG_TRANSFORM_EXPAND, nullptr);
    out.width = static_cast<std::int32_t>(png_get_image_width(png, info));
    out.height = static_cast<std::int32_t>(png_get_image_height(png, info));
    const int channels = png_get_channels(png, info);
    const int sampleBytes = png_get_bit_depth(png, info) == 16 ? 2 : 1;
    png_bytepp rows = png_get_rows(png, info);
    for (std::int32_t y = 0; y < out.height; ++y) {
        for (std::int32_t x = 0; x < out.width; ++x) {
            // The high byte of each sample: it comes first.
            auto sample = [&](int c) { return rows[y][(x * channels + c) * sampleBytes]; };
            std::array<std::uint8_t, 4> bgra{};
            if (channels <= 2) {
                bgra = {sample(0), sample(0), sample(0),
                        channels == 2 ? sample(1) : std::uint8_t{255}};
            } else {
                bgra = {sample(2), sample(1), sample(0),
                        channels == 4 ? sample(3) : std::uint8_t{255}};
            }
            out.pixels.push_back(bgra);
        }
    }
    out.ok = true;
}

// libpng's plain decoding with only its expansion to 8-bit samples; the rest is done here.
Reference DecodeWithLibpng(const Bytes& file) {
    Reference out;
    MemoryReader reader{&file, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Quiet);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return Reference{};
    }
    png_set_read_fn(png, &reader, ReadMemory);
    Collect(png, info, out);
    // The colour type as the file states it (byte 25: in IHDR after width, height, depth).
    out.alpha = (file[25] & PNG_COLOR_MASK_ALPHA) != 0;
    png_destroy_read_struct(&png, &info, nullptr);
    return out;
}

std::vector<fs::path> SuiteFiles(bool corrupt) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(PNGSUITE_DIR)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".png") continue;
        if ((name[0] == 'x') == corrupt) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::uint32_t Rgb(const std::array<std::uint8_t, 4>& bgra) {
    return (std::uint32_t{bgra[2]} << 16) | (std::uint32_t{bgra[1]} << 8) | bgra[0];
}

using PngTest = ScreenTest;

TEST_F(PngTest, EverySuiteImageDecodesLikeLibpng) {
    const auto files = SuiteFiles(false);
    ASSERT_GE(files.size(), 150u) << "PngSuite missing at " << PNGSUITE_DIR;
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        const Bytes file = testing_support::ReadBytes(path);
        const Reference expected = DecodeWithLibpng(file);
        ASSERT_TRUE(expected.ok);

        // The decoder's rows: blue, green, red, and alpha exactly when the image has it.
        const std::int32_t answer = screen::ImageDecoderCheck(screen::kDecoderByteLimit, file);
        ASSERT_EQ(answer, expected.alpha ? 2 : 1);
        const std::int32_t w = screen::ImageDecoderWidth(), h = screen::ImageDecoderHeight();
        ASSERT_EQ(w, expected.width);
        ASSERT_EQ(h, expected.height);
        const std::int32_t pixelBytes = answer == 2 ? 4 : 3;
        const std::int32_t rowLength = answer == 2 ? 4 * w : 3 * w + w % 4;
        Bytes rows(static_cast<std::size_t>(rowLength) * (h + 1));
        ASSERT_EQ(screen::ImageDecoderDecode(rows, rowLength, 0), 1);
        int mismatches = 0;
        for (std::int32_t y = 0; y < h; ++y) {
            for (std::int32_t x = 0; x < w; ++x) {
                const std::uint8_t* got = rows.data() + y * rowLength + x * pixelBytes;
                const auto& want = expected.pixels[static_cast<std::size_t>(y * w + x)];
                if (std::memcmp(got, want.data(), static_cast<std::size_t>(pixelBytes)) != 0)
                    ++mismatches;
            }
        }
        EXPECT_EQ(mismatches, 0);

        // The sprite shows the same colours on the display.
        ASSERT_NE(screen::SpriteLoadMemory(0, file), 0);
        EXPECT_EQ(screen::SpriteWidth(0), w);
        screen::ScreenClear(kGrey);
        screen::SpriteDisplay(0, 0, 0);
        mismatches = 0;
        for (std::int32_t y = 0; y < h; ++y) {
            for (std::int32_t x = 0; x < w; ++x) {
                if (screen::ScreenBackBufferPixel(x, y) !=
                    Rgb(expected.pixels[static_cast<std::size_t>(y * w + x)])) {
                    ++mismatches;
                }
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

TEST_F(PngTest, InterlacedImagesEqualTheirPlainTwins) {
    int pairs = 0;
    for (const fs::path& path : SuiteFiles(false)) {
        std::string twin = path.filename().string();
        if (twin.size() < 4 || twin[3] != 'i') continue;
        twin[3] = 'n';
        if (!fs::exists(path.parent_path() / twin)) continue;
        SCOPED_TRACE(twin);
        ++pairs;
        ASSERT_NE(screen::SpriteLoadMemory(1, testing_support::ReadBytes(path)), 0);
        ASSERT_NE(
            screen::SpriteLoadMemory(2, testing_support::ReadBytes(path.parent_path() / twin)), 0);
        screen::SpriteDisplay(1, 0, 0);
        screen::SpriteDisplay(2, 100, 0);
        for (std::int32_t y = 0; y < 32; ++y) {
            for (std::int32_t x = 0; x < 32; ++x) {
                ASSERT_EQ(screen::ScreenBackBufferPixel(x, y),
                          screen::ScreenBackBufferPixel(100 + x, y));
            }
        }
    }
    EXPECT_GE(pairs, 30);
}

TEST_F(PngTest, CorruptSuiteImagesFailAndLeaveNoSprite) {
    const auto files = SuiteFiles(true);
    ASSERT_GE(files.size(), 10u);
    for (const fs::path& path : files) {
        SCOPED_TRACE(path.filename().string());
        ASSERT_NE(screen::SpriteCreate(0, 8, 8), 0);
        EXPECT_EQ(screen::SpriteLoadMemory(0, testing_support::ReadBytes(path)), 0);
        EXPECT_EQ(screen::SpriteWidth(0), 0);
    }
}

// Every cut of a file either fails or, once the rows are all there, gives the full picture;
// each cut lies in a block of its exact size, so a read beyond it would be caught by the
// address sanitizer.
TEST_F(PngTest, TruncatedFilesNeverReadPastTheirEnd) {
    for (const char* name : {"basn6a16.png", "basi3p02.png", "basi0g01.png"}) {
        SCOPED_TRACE(name);
        const Bytes whole = testing_support::ReadBytes(fs::path(PNGSUITE_DIR) / name);
        const Reference expected = DecodeWithLibpng(whole);
        ASSERT_TRUE(expected.ok);
        for (std::size_t size = 0; size < whole.size(); ++size) {
            const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
            if (screen::SpriteLoadMemory(0, cut) == 0) continue;
            screen::SpriteDisplay(0, 0, 0);
            for (std::int32_t y = 0; y < expected.height; ++y) {
                for (std::int32_t x = 0; x < expected.width; ++x) {
                    ASSERT_EQ(
                        screen::ScreenBackBufferPixel(x, y),
                        Rgb(expected.pixels[static_cast<std::size_t>(y * expected.width + x)]))
                        << "cut at " << size;
                }
            }
        }
    }
}

TEST_F(PngTest, ForgedSizesAreRefusedBeforeAllocating) {
    // A header claiming 32767 x 32767 RGBA (4 GB of rows) over three bytes of image data,
    // and one beyond the 16-bit sizes.
    EXPECT_EQ(screen::SpriteLoadMemory(0, testing_support::MakePng(32767, 32767, 8, 6, {0, 0, 0})),
              0);
    EXPECT_EQ(
        screen::SpriteLoadMemory(0, testing_support::MakePng(32768, 1, 8, 2, Bytes(1 + 3 * 32768))),
        0);
    EXPECT_EQ(
        screen::SpriteLoadMemory(0, testing_support::MakePng(1, 40000, 8, 0, Bytes(2 * 40000))), 0);
    // The largest side is still taken.
    EXPECT_NE(
        screen::SpriteLoadMemory(0, testing_support::MakePng(32767, 1, 8, 0, Bytes(1 + 32767))), 0);
    EXPECT_EQ(screen::SpriteWidth(0), 32767);
}

TEST_F(PngTest, DecodeRefusesBuffersTooSmallForTheRows) {
    const Bytes file = testing_support::ReadBytes(fs::path(PNGSUITE_DIR) / "basn2c08.png");
    ASSERT_EQ(screen::ImageDecoderCheck(screen::kDecoderByteLimit, file), 1);
    Bytes rows(static_cast<std::size_t>(3 * 32) * 31);  // one row short
    EXPECT_EQ(screen::ImageDecoderDecode(rows, 3 * 32, 0), 0);
    // A decode without a check before it has nothing to decode.
    EXPECT_EQ(screen::ImageDecoderDecode(rows, 3 * 32, 0), 0);
}

std::int32_t gSecondDecoderChecks = 0;
const screen::ImageDecoder kSecondDecoder{
    [](std::span<const std::uint8_t> data, std::int32_t) -> std::int32_t {
        ++gSecondDecoderChecks;
        return data.size() == 3 ? 1 : 0;
    },
    [](std::span<std::uint8_t>, std::int32_t, std::int32_t) -> std::int32_t { return 0; },
    []() -> std::int32_t { return 7; }, []() -> std::int32_t { return 9; }};

TEST(ImageDecoderRegistry, AsksDecodersInOrderAndRegistersPngOnce) {
    screen::ImageDecoderInit();
    EXPECT_EQ(screen::ImageDecoderCount(), 0);
    EXPECT_EQ(screen::ImageDecoderCheck(screen::kDecoderByteLimit, Bytes{1, 2, 3}), 0);
    screen::DecoderPngRegister();
    screen::DecoderPngRegister();
    EXPECT_EQ(screen::ImageDecoderCount(), 1);
    screen::ImageDecoderRegister(&kSecondDecoder);

    // PNG data stops at the PNG decoder; other data goes on to the second.
    const Bytes png = testing_support::ReadBytes(fs::path(PNGSUITE_DIR) / "basn0g01.png");
    gSecondDecoderChecks = 0;
    EXPECT_EQ(screen::ImageDecoderCheck(screen::kDecoderByteLimit, png), 1);
    EXPECT_EQ(gSecondDecoderChecks, 0);
    EXPECT_EQ(screen::ImageDecoderWidth(), 32);
    EXPECT_EQ(screen::ImageDecoderCheck(screen::kDecoderByteLimit, Bytes{1, 2, 3}), 1);
    EXPECT_EQ(gSecondDecoderChecks, 1);
    EXPECT_EQ(screen::ImageDecoderWidth(), 7);
    // Nobody takes it: the current decoder stays.
    EXPECT_EQ(screen::ImageDecoderCheck(screen::kDecoderByteLimit, Bytes{1, 2}), 0);
    EXPECT_EQ(screen::ImageDecoderHeight(), 9);

    for (int i = 0; i < 150; ++i) screen::ImageDecoderRegister(&kSecondDecoder);
    EXPECT_EQ(screen::ImageDecoderCount(), screen::kImageDecoderCapacity);
    screen::ImageDecoderInit();
}

}  // namespace
