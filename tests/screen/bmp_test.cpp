// BMP files of every depth made here, read into sprites; and BMP headers that lie.
#include <functional>
#include <vector>

#include "ImageFiles.h"
#include "ScreenFixture.h"

namespace {

using testing_support::BmpFields;
using testing_support::Bytes;
using testing_support::kGrey;
using testing_support::MakeBmp;
using testing_support::StoreRows;

using Picture = std::vector<std::vector<std::uint32_t>>;  // rows top-down of 0x00RRGGBB

class BmpTest : public testing_support::ScreenTest {
protected:
    // Loads the file into sprite 0 and reads back the `height` rows it shows at (0, 0).
    Picture Load(const Bytes& file, std::int32_t height) {
        EXPECT_NE(screen::SpriteLoadMemory(0, file), 0);
        screen::ScreenClear(kGrey);
        screen::SpriteDisplay(0, 0, 0);
        Picture shown(static_cast<std::size_t>(height));
        for (std::int32_t y = 0; y < height; ++y) {
            for (std::int32_t x = 0; x < screen::SpriteWidth(0); ++x) {
                shown[static_cast<std::size_t>(y)].push_back(screen::ScreenBackBufferPixel(x, y));
            }
        }
        // Nothing below the sprite was drawn.
        EXPECT_EQ(screen::ScreenBackBufferPixel(0, height), kGrey);
        return shown;
    }
};

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF, kWhite = 0xFFFFFF;
constexpr std::uint32_t kDark = 0x102030;

TEST_F(BmpTest, PaletteDepthsAreExpanded) {
    // 1 bit: black and white whatever the colour table says.
    BmpFields one{3, 2, 1, 0, {kRed, kGreen}, StoreRows({{0b10100000}, {0b01000000}})};
    EXPECT_EQ(Load(MakeBmp(one), 2), (Picture{{kWhite, 0, kWhite}, {0, kWhite, 0}}));

    // 4 bits, odd width: high nibble first.
    BmpFields four{
        3, 2, 4, 0, {kRed, kGreen, kBlue, kDark}, StoreRows({{0x01, 0x20}, {0x33, 0x10}})};
    EXPECT_EQ(Load(MakeBmp(four), 2), (Picture{{kRed, kGreen, kBlue}, {kDark, kDark, kGreen}}));

    // 8 bits; an index beyond the colour table in the file reads as black.
    BmpFields eight{3, 2, 8, 0, {kRed, kGreen, kBlue}, StoreRows({{2, 1, 0}, {0, 1, 200}})};
    Bytes file = MakeBmp(eight);
    EXPECT_EQ(Load(file, 2), (Picture{{kBlue, kGreen, kRed}, {kRed, kGreen, 0}}));
}

TEST_F(BmpTest, Rle8RunsLiteralsMovesAndEnds) {
    // Stored bottom row first: a run of 2 and a literal of 3 (odd: one pad byte), end of row;
    // then a move right by 1 and down by 1 (to the third stored row), a run of 9 cut at the
    // width, end of image. The middle row and the skipped pixel stay black.
    const Bytes codes = {2, 1, 0, 3, 2, 3, 1, 0xEE, 0, 0, 0, 2, 1, 1, 9, 3, 0, 1};
    BmpFields rle{5, 3, 8, 1, {kRed, kGreen, kBlue, kDark}, codes};
    EXPECT_EQ(Load(MakeBmp(rle), 3), (Picture{{0, kDark, kDark, kDark, kDark},
                                              {0, 0, 0, 0, 0},
                                              {kGreen, kGreen, kBlue, kDark, kGreen}}));
}

TEST_F(BmpTest, DirectColourDepthsConvert) {
    // 16 bits, 5-5-5: each field times 8.
    BmpFields sixteen{3, 1, 16, 0, {}, StoreRows({{0x00, 0x7C, 0xE0, 0x03, 0x21, 0x04}})};
    EXPECT_EQ(Load(MakeBmp(sixteen), 1), (Picture{{0xF80000, 0x00F800, 0x080808}}));

    // 24 bits, odd width with padding, bottom-up.
    BmpFields twentyFour{
        3,
        2,
        24,
        0,
        {},
        StoreRows({{0xFF, 0, 0, 0, 0xFF, 0, 0, 0, 0xFF}, {0x30, 0x20, 0x10, 0, 0, 0, 1, 2, 3}})};
    EXPECT_EQ(Load(MakeBmp(twentyFour), 2), (Picture{{kBlue, kGreen, kRed}, {kDark, 0, 0x030201}}));

    // 32 bits: the fourth byte is dropped.
    BmpFields thirtyTwo{2, 1, 32, 0, {}, StoreRows({{0x30, 0x20, 0x10, 0xAB, 0, 0, 0xFF, 0xFF}})};
    EXPECT_EQ(Load(MakeBmp(thirtyTwo), 1), (Picture{{kDark, kRed}}));
}

// Bit fields give each channel its own mask (5-6-5 is not 5-5-5); rows stored top row first
// (a negative height) are read as such.
TEST_F(BmpTest, BitFieldsAndTopDownRows) {
    // 5-6-5: pure red, pure green (6 bits), pure blue, and green's lowest bit alone.
    BmpFields rgb565{4, 1, 16, 3, {0xF800, 0x07E0, 0x001F},
                     StoreRows({{0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0x20, 0x00}})};
    EXPECT_EQ(Load(MakeBmp(rgb565), 1), (Picture{{0xF80000, 0x00FC00, 0x0000F8, 0x000400}}));
    // The masks of the plain layout read as the plain layout.
    BmpFields rgb555{1, 1, 16, 3, {0x7C00, 0x03E0, 0x001F}, StoreRows({{0x21, 0x04}})};
    EXPECT_EQ(Load(MakeBmp(rgb555), 1), (Picture{{0x080808}}));
    // 32 bits with blue and red swapped, and 10 bits of green narrowed to its top 8.
    BmpFields swapped{1, 1, 32, 3, {0x0000FF, 0x3FF00, 0xFC0000},
                      StoreRows({{0x12, 0xFF, 0x03, 0x00}})};
    EXPECT_EQ(Load(MakeBmp(swapped), 1), (Picture{{0x12FF00}}));

    // Top-down rows, at a direct and at a palette depth.
    BmpFields down24{1, -2, 24, 0, {}, StoreRows({{3, 2, 1}, {6, 5, 4}})};  // stored top first
    EXPECT_EQ(Load(MakeBmp(down24), 2), (Picture{{0x040506}, {0x010203}}));
    BmpFields down8{2, -2, 8, 0, {kRed, kGreen, kBlue}, StoreRows({{2, 1}, {0, 2}})};
    EXPECT_EQ(Load(MakeBmp(down8), 2), (Picture{{kRed, kBlue}, {kBlue, kGreen}}));
}

TEST_F(BmpTest, LastRowMayLackItsPadding) {
    BmpFields fields{1, 2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6}};
    EXPECT_EQ(Load(MakeBmp(fields), 2), (Picture{{0x060504}, {0x030201}}));
}

// Headers that claim what the file does not hold, and kinds the loader does not take: the
// load fails cleanly and the old sprite is gone.
TEST_F(BmpTest, RefusedHeadersLeaveNoSprite) {
    const BmpFields good{4, 4, 24, 0, {}, Bytes(48, 0x55)};
    struct Case {
        const char* name;
        std::function<void(BmpFields&)> header;
        std::function<void(Bytes&)> file;
    };
    const auto same = [](auto&) {};
    const std::vector<Case> cases = {
        {"zero width", [](BmpFields& s) { s.width = 0; }, same},
        {"more pixels than may be decoded",
         [](BmpFields& s) {
             s.width = 9000;  // 72 million pixels in 9 MB
             s.height = 8000;
             s.bits = 1;
             s.pixels = Bytes(1128 * 8000, 0);
         },
         same},
        {"wider than 32767", [](BmpFields& s) { s.width = 32768; }, same},
        {"2 bits per pixel", [](BmpFields& s) { s.bits = 2; }, same},
        {"RLE4",
         [](BmpFields& s) {
             s.bits = 4;
             s.compression = 2;
         },
         same},
        {"24 bits marked JPEG",
         [](BmpFields& s) { s.compression = 4; }, same},
        {"RLE8 marked on 4 bits",
         [](BmpFields& s) {
             s.bits = 4;
             s.compression = 1;
         },
         same},
        {"bit fields on 24 bits", [](BmpFields& s) { s.compression = 3; }, same},
        {"bit fields without their masks",
         [](BmpFields& s) {
             s.bits = 16;
             s.compression = 3;
             s.pixels.clear();
         },
         same},
        {"top-down RLE8",
         [](BmpFields& s) {
             s.height = -1;
             s.bits = 8;
             s.compression = 1;
             s.pixels = {4, 1, 0, 1};
         },
         same},
        {"RLE8 that ends before its end code",
         [](BmpFields& s) {
             s.bits = 8;
             s.compression = 1;
             s.pixels = {1, 1, 5};
         },
         same},
        {"RLE8 literal cut short",
         [](BmpFields& s) {
             s.bits = 8;
             s.compression = 1;
             s.pixels = {0, 4, 1, 1, 0, 1};
         },
         same},
        {"rows missing", [](BmpFields& s) { s.pixels.resize(47); }, same},
        {"huge height, few rows", [](BmpFields& s) { s.height = 30000; }, same},
        {"RLE8 stream far too short for its size",
         [](BmpFields& s) {
             s.width = s.height = 32767;
             s.bits = 8;
             s.compression = 1;
             s.pixels = {4, 1, 0, 1};
         },
         same},
        {"pixel offset past the end", same,
         [](Bytes& f) {
             f[10] = 0xFF;
             f[11] = 0xFF;
         }},
        {"pixel offset near 4 GB", same, [](Bytes& f) { f[13] = 0xFF; }},
        {"shorter than its header", same, [](Bytes& f) { f.resize(30); }},
        {"just the signature", same, [](Bytes& f) { f.resize(2); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BmpFields fields = good;
        c.header(fields);
        Bytes file = MakeBmp(fields);
        c.file(file);
        ASSERT_NE(screen::SpriteCreate(0, 8, 8), 0);
        // A block of the file's exact size: a read beyond it shows under the address sanitizer.
        const Bytes exact(file.begin(), file.end());
        EXPECT_EQ(screen::SpriteLoadMemory(0, exact), 0);
        EXPECT_EQ(screen::SpriteWidth(0), 0);
    }
}

}  // namespace
