// Sprites: making, loading from files, clipping and display with its cuts at the screen edges.
#include <vector>

#include "ImageFiles.h"
#include "ScreenFixture.h"
#include "runtime/RtString.h"
#include "support/TempDir.h"

namespace {

using testing_support::Bytes;
using testing_support::kGrey;

using testing_support::PatternBmp;
using testing_support::PatternPixel;

class SpriteTest : public testing_support::ScreenTest {
protected:
    // Compares the whole back buffer with the sprite's clip (cx, cy, cw, ch) drawn at (x, y)
    // over grey, worked out pixel by pixel.
    int Mismatches(std::int64_t cx, std::int64_t cy, std::int64_t cw, std::int64_t ch,
                   std::int64_t x, std::int64_t y) {
        int mismatches = 0;
        for (std::int32_t by = 0; by < 500; ++by) {
            for (std::int32_t bx = 0; bx < 500; ++bx) {
                const std::int64_t sx = bx - x, sy = by - y;
                const bool inside = sx >= 0 && sy >= 0 && sx < cw && sy < ch;
                const std::uint32_t want = inside ? PatternPixel(cx + sx, cy + sy) : kGrey;
                if (screen::ScreenBackBufferPixel(bx, by) != want) ++mismatches;
            }
        }
        return mismatches;
    }
};

TEST_F(SpriteTest, ClipAndDisplayCutExactly) {
    ASSERT_NE(screen::SpriteLoadMemory(0, PatternBmp(128, 128)), 0);
    struct Case {
        const char* name;
        std::int32_t clipX, clipY, clipW, clipH;      // SpriteClip arguments
        std::int32_t x, y;                            // SpriteDisplay position
        std::int32_t shownX, shownY, shownW, shownH;  // what must appear: clip part and size
        std::int32_t width;                           // SpriteWidth afterwards
    };
    const Case cases[] = {
        {"whole tile", 64, 0, 64, 64, 10, 20, 64, 0, 64, 64, 64},
        {"cut at the left edge", 0, 0, 64, 64, -10, 5, 10, 0, 54, 64, 64},
        {"cut at the right and bottom edges", 0, 64, 64, 64, 480, 480, 0, 64, 20, 20, 64},
        {"cut at the top edge", 0, 0, 64, 64, 7, -60, 0, 60, 64, 4, 64},
        {"one column left", 0, 0, 64, 64, -63, 0, 63, 0, 1, 64, 64},
        {"wholly left", 0, 0, 64, 64, -64, 0, 0, 0, 0, 0, 64},
        {"wholly below", 0, 0, 64, 64, 0, 500, 0, 0, 0, 0, 64},
        {"clip cut at the sprite's right edge", 96, 0, 64, 64, 0, 0, 96, 0, 32, 64, 32},
        {"clip cut at the sprite's bottom edge", 0, 100, 64, 64, 0, 0, 0, 100, 64, 28, 64},
        {"clip starting at the sprite's width", 128, 0, 64, 64, 0, 0, 0, 0, 0, 0, 0},
        {"clip with a negative x", -8, 0, 64, 64, 0, 0, 0, 0, 0, 0, 64},
        {"clip far beyond 16 bits", 65536, 0, 64, 64, 0, 0, 0, 0, 0, 0, -32768},
        {"whole sprite again", -1, -1, -1, -1, 0, 0, 0, 0, 128, 128, 128},
        {"larger than the screen", -1, -1, -1, -1, 400, 400, 0, 0, 100, 100, 128},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        screen::SpriteClip(0, c.clipX, c.clipY, c.clipW, c.clipH);
        EXPECT_EQ(screen::SpriteWidth(0), c.width);
        screen::ScreenClear(kGrey);
        screen::SpriteDisplay(0, c.x, c.y);
        const std::int32_t atX = std::max(c.x, 0), atY = std::max(c.y, 0);
        EXPECT_EQ(Mismatches(c.shownX, c.shownY, c.shownW, c.shownH, atX, atY), 0);
    }
}

TEST_F(SpriteTest, CreateMakesBlackSpritesAndReplacesTheOldOne) {
    ASSERT_NE(screen::SpriteLoadMemory(3, PatternBmp(16, 16)), 0);
    ASSERT_NE(screen::SpriteCreate(3, 64, 128), 0);
    EXPECT_EQ(screen::SpriteWidth(3), 64);
    screen::ScreenClear(kGrey);
    screen::SpriteDisplay(3, 0, 0);
    EXPECT_EQ(screen::ScreenBackBufferPixel(0, 0), 0u);
    EXPECT_EQ(screen::ScreenBackBufferPixel(63, 127), 0u);
    EXPECT_EQ(screen::ScreenBackBufferPixel(64, 0), kGrey);

    // Sizes beyond 16 bits, or none, fail and leave no sprite.
    for (auto [w, h] : {std::pair{0, 10}, std::pair{10, -1}, std::pair{32768, 1}}) {
        ASSERT_NE(screen::SpriteCreate(3, 8, 8), 0);
        EXPECT_EQ(screen::SpriteCreate(3, w, h), 0);
        EXPECT_EQ(screen::SpriteWidth(3), 0);
    }
}

TEST_F(SpriteTest, DynamicSpritesAnswerToTheirIdentifiers) {
    const std::intptr_t first = screen::SpriteCreate(-1, 10, 10);
    const std::intptr_t second = screen::SpriteLoadMemory(-1, PatternBmp(20, 4));
    ASSERT_LT(first, -1);
    ASSERT_LT(second, -1);
    EXPECT_NE(first, second);
    EXPECT_EQ(screen::SpriteWidth(static_cast<std::int32_t>(first)), 10);
    EXPECT_EQ(screen::SpriteWidth(static_cast<std::int32_t>(second)), 20);
    screen::SpriteFree(static_cast<std::int32_t>(first));
    EXPECT_EQ(screen::SpriteWidth(static_cast<std::int32_t>(first)), 0);
    EXPECT_EQ(screen::SpriteWidth(static_cast<std::int32_t>(second)), 20);
    // A failed dynamic load gives nothing back.
    EXPECT_EQ(screen::SpriteLoadMemory(-1, Bytes{'B', 'M'}), 0);
}

TEST_F(SpriteTest, LoadingFromFiles) {
    testing_support::TempDir dir;
    std::filesystem::create_directory("Karten");
    testing_support::WriteBytes(
        "Karten/Wald.PNG",
        testing_support::ReadBytes(std::filesystem::path(PNGSUITE_DIR) / "basn2c08.png"));
    testing_support::WriteBytes("Karten/Notiz.PNG",
                                Bytes{'k', 'e', 'i', 'n', ' ', 'B', 'i', 'l', 'd'});

    // A runtime path: backslashes, and a name that differs from the file's in case.
    ASSERT_NE(screen::SpriteLoad(0, "Karten\\wald.png"), 0);
    EXPECT_EQ(screen::SpriteWidth(0), 32);

    // A file that is not there leaves the old sprite as it was.
    screen::SpriteClip(0, 0, 0, 16, 16);
    EXPECT_EQ(screen::SpriteLoad(0, "Karten\\Fehlt.PNG"), 0);
    EXPECT_EQ(screen::SpriteWidth(0), 16);

    // A file that is there but no image leaves no sprite.
    EXPECT_EQ(screen::SpriteLoad(0, "Karten\\Notiz.PNG"), 0);
    EXPECT_EQ(screen::SpriteWidth(0), 0);
}

TEST_F(SpriteTest, DisplayNeedsAnOpenScreenAndAFreeBackBuffer) {
    ASSERT_NE(screen::SpriteLoadMemory(0, PatternBmp(8, 8)), 0);
    screen::ScreenClear(kGrey);

    // While the back buffer's drawing context is out, blits are refused.
    screen::DrawingTarget* target = screen::ScreenOutput();
    ASSERT_NE(target, nullptr);
    screen::SpriteDisplay(0, 0, 0);
    screen::ScreenClear(0);
    EXPECT_EQ(screen::ScreenBackBufferPixel(0, 0), kGrey);
    target->release(target->context->serial);
    screen::SpriteDisplay(0, 0, 0);
    EXPECT_EQ(screen::ScreenBackBufferPixel(0, 0), PatternPixel(0, 0));

    // Opening the screen again frees every sprite.
    ASSERT_EQ(screen::ScreenOpenWindowed(Window(), 4, 4, 500, 500, 0, 0, 0), 1);
    EXPECT_EQ(screen::SpriteWidth(0), 0);
}

}  // namespace
