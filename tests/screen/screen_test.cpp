// The windowed screen: opening and its failures, clearing, the drawing target, and the picture
// in a real (headless) window.
#include "ImageFiles.h"
#include "ScreenFixture.h"

namespace {

using testing_support::Bytes;
using testing_support::kGrey;

using testing_support::PatternPixel;

class ScreenWindowTest : public testing_support::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        window_->Show();
    }

    // Draws the pattern into the back buffer and flips it.
    void FlipPattern() {
        ASSERT_NE(screen::SpriteLoadMemory(0, testing_support::PatternBmp(500, 500)), 0);
        screen::SpriteDisplay(0, 0, 0);
        screen::ScreenFlip();
    }

    // What the window shows now, as 0x00RRGGBB pixels.
    testing_support::ShownPicture Grab() { return window_->Grab(); }

    static std::uint32_t At(const testing_support::ShownPicture& image, int x, int y) {
        return image.At(x, y);
    }
};

TEST_F(ScreenWindowTest, PictureAppearsOneToOneAtItsClientPosition) {
    FlipPattern();
    const testing_support::ShownPicture shown = Grab();
    ASSERT_EQ(shown.width, 760);
    int mismatches = 0;
    for (int y = 0; y < 500; ++y) {
        for (int x = 0; x < 500; ++x) {
            if (At(shown, 4 + x, 4 + y) != PatternPixel(x, y)) ++mismatches;
        }
    }
    EXPECT_EQ(mismatches, 0);
    const std::uint32_t background = At(shown, 2, 2);
    for (auto [x, y] :
         {std::pair{3, 3}, std::pair{504, 4}, std::pair{4, 504}, std::pair{700, 300}}) {
        EXPECT_EQ(At(shown, x, y), background) << x << "," << y;
    }

    // A window too small for the picture shows the part that fits.
    window_->Resize(300, 200);
    const testing_support::ShownPicture small = Grab();
    EXPECT_EQ(At(small, 299, 199), PatternPixel(295, 195));
}

TEST_F(ScreenWindowTest, LastPictureReappearsByItself) {
    FlipPattern();
    // Drawing without a flip changes nothing in the window.
    screen::ScreenClear(0);
    // Covered, uncovered, resized: the window repaints the last flipped picture.
    window_->Hide();
    window_->Show();
    window_->Resize(700, 600);
    const testing_support::ShownPicture shown = Grab();
    EXPECT_EQ(At(shown, 4, 4), PatternPixel(0, 0));
    EXPECT_EQ(At(shown, 4 + 321, 4 + 123), PatternPixel(321, 123));
    EXPECT_EQ(At(shown, 503, 503), PatternPixel(499, 499));
}

TEST_F(ScreenWindowTest, StretchedPictureFollowsTheClientArea) {
    ASSERT_EQ(screen::ScreenOpenWindowed(Window(), 4, 4, 500, 500, 1, 60, 40), 1);
    FlipPattern();
    testing_support::ShownPicture shown = Grab();
    const std::uint32_t background = At(shown, 2, 2);
    // 760 x 560 less (4, 4) and the margins: 696 x 516.
    EXPECT_EQ(At(shown, 4, 4), PatternPixel(0, 0));
    EXPECT_EQ(At(shown, 699, 519), PatternPixel(499, 499));
    EXPECT_EQ(At(shown, 700, 519), background);
    EXPECT_EQ(At(shown, 699, 520), background);

    window_->Resize(400, 300);
    shown = Grab();
    EXPECT_EQ(At(shown, 4, 4), PatternPixel(0, 0));
    EXPECT_EQ(At(shown, 339, 259), PatternPixel(499, 499));
    EXPECT_EQ(At(shown, 340, 100), background);
    EXPECT_EQ(At(shown, 100, 260), background);
}

TEST_F(ScreenWindowTest, SecondOpenHooksOnceAndFreesSprites) {
    ASSERT_NE(screen::SpriteCreate(5, 8, 8), 0);
    EXPECT_EQ(screen::ScreenFrameRate(), 60);
    ASSERT_EQ(screen::ScreenOpenWindowed(Window(), 10, 10, 100, 100, 0, 0, 0), 1);
    EXPECT_EQ(screen::SpriteWidth(5), 0);
    EXPECT_EQ(screen::ScreenFrameRate(), 60);
    EXPECT_EQ(window_->ChildCount(), 1);

    // A rate the program chose stays through opening and closing.
    ASSERT_EQ(screen::ScreenSetFrameRate(30), 1);
    ASSERT_EQ(screen::ScreenOpenWindowed(Window(), 10, 10, 100, 100, 0, 0, 0), 1);
    screen::ScreenClose();
    EXPECT_EQ(screen::ScreenFrameRate(), 30);
    EXPECT_EQ(window_->ChildCount(), 1);

    // Closed: the window shows its own background again.
    const testing_support::ShownPicture shown = Grab();
    EXPECT_EQ(At(shown, 50, 50), At(shown, 2, 2));
}

TEST_F(ScreenWindowTest, FailedOpensLeaveNoScreen) {
    int notAWidget = 0;
    struct Case {
        const char* name;
        std::intptr_t window;
        std::int32_t width, height;
    };
    const Case cases[] = {
        {"no window", 0, 500, 500},
        {"not a window", reinterpret_cast<std::intptr_t>(&notAWidget), 500, 500},
        {"no width", Window(), 0, 500},
        {"too high", Window(), 500, 40000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(screen::ScreenOpenWindowed(Window(), 4, 4, 500, 500, 0, 0, 0), 1);
        ASSERT_NE(screen::SpriteCreate(0, 8, 8), 0);
        EXPECT_EQ(screen::ScreenOpenWindowed(c.window, 4, 4, c.width, c.height, 0, 0, 0), 0);
        EXPECT_EQ(screen::SpriteWidth(0), 0);
        EXPECT_EQ(screen::ScreenOutput(), nullptr);
        screen::ScreenClear(0xFF);
        EXPECT_EQ(screen::ScreenBackBufferPixel(0, 0), 0u);
        screen::ScreenFlip();
        ASSERT_NE(screen::SpriteCreate(0, 8, 8), 0);
        screen::SpriteDisplay(0, 0, 0);
    }
    // Without the library started there is no display to open on.
    screen::SpriteEnd();
    EXPECT_EQ(screen::ScreenOpenWindowed(Window(), 4, 4, 500, 500, 0, 0, 0), 0);
}

TEST_F(ScreenWindowTest, ClearAndTheDrawingTarget) {
    screen::ScreenClear(0x0000FF);
    EXPECT_EQ(screen::ScreenBackBufferPixel(0, 0), 0xFF0000u);
    EXPECT_EQ(screen::ScreenBackBufferPixel(499, 499), 0xFF0000u);
    EXPECT_EQ(screen::ScreenBackBufferPixel(500, 0), 0u);
    screen::ScreenClear(kGrey);
    EXPECT_EQ(screen::ScreenBackBufferPixel(250, 250), kGrey);
    EXPECT_EQ(screen::ColorToPixel(100, 100, 100), kGrey);

    screen::DrawingTarget* target = screen::ScreenOutput();
    ASSERT_NE(target, nullptr);
    EXPECT_EQ(target->kind, screen::kTargetScreenBackBuffer);
    EXPECT_EQ(target->width, 500);
    EXPECT_EQ(target->height, 500);
    EXPECT_EQ(target->depth, 32);
    EXPECT_EQ(target->pixelFormat, 7);
    // Still out: no second target until it is given back.
    EXPECT_EQ(screen::ScreenOutput(), nullptr);
    target->release(target->context->serial);
    EXPECT_NE(screen::ScreenOutput(), nullptr);
}

}  // namespace
