// Canvases in a second window, and the pixel views of sprites and of what is drawn on.
#include "screen/Canvas.h"

#include "ImageFiles.h"
#include "ScreenFixture.h"

namespace {

using testing_support::kGrey;
using testing_support::PatternBmp;
using testing_support::PatternPixel;

class CanvasTest : public testing_support::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        second_ = std::make_unique<testing_support::TestWindow>(300, 200);
        second_->Show();
    }
    void TearDown() override {
        ScreenTest::TearDown();
        second_.reset();
    }
    std::intptr_t Second() const { return second_->Handle(); }
    std::uint32_t Shown(int x, int y) { return second_->Grab().At(x, y); }

    std::unique_ptr<testing_support::TestWindow> second_;
};

TEST_F(CanvasTest, DrawingGoesToTheSelectedCanvasUntilItIsShown) {
    ASSERT_NE(screen::SpriteLoadMemory(0, PatternBmp(64, 64)), 0);
    ASSERT_NE(screen::CanvasOpen(2, Second(), 10, 20, 100, 50), 0);
    screen::ScreenClear(kGrey);
    ASSERT_EQ(screen::CanvasDrawOn(2), 1);
    EXPECT_EQ(screen::ScreenPixels().width, 100);
    screen::ScreenClear(0x0000FF);
    screen::SpriteDisplay(0, 30, 5);
    screen::DrawingStart(screen::ScreenOutput());
    screen::DrawFrontColor(0x00FF00);
    screen::DrawBox(0, 0, 1, 1);
    screen::DrawingStop();
    screen::CanvasShow(2);
    // The window shows the canvas at (10, 20); the back buffer is as it was and drawn on again.
    EXPECT_EQ(Shown(10, 20), 0x00FF00u);
    EXPECT_EQ(Shown(11, 20), 0xFF0000u);
    EXPECT_EQ(Shown(10 + 30 + 7, 20 + 5 + 3), PatternPixel(7, 3));
    EXPECT_EQ(screen::ScreenBackBufferPixel(0, 0), kGrey);
    EXPECT_EQ(screen::ScreenPixels().width, 500);
    screen::ScreenClear(0);
    EXPECT_EQ(Shown(11, 20), 0xFF0000u);

    // A flip or a closed canvas gives drawing back to the back buffer too.
    ASSERT_EQ(screen::CanvasDrawOn(2), 1);
    screen::ScreenFlip();
    EXPECT_EQ(screen::ScreenPixels().width, 500);
    ASSERT_EQ(screen::CanvasDrawOn(2), 1);
    screen::CanvasClose(2);
    EXPECT_EQ(screen::ScreenPixels().width, 500);
    EXPECT_EQ(screen::CanvasDrawOn(2), 0);
}

TEST_F(CanvasTest, ACanvasNeedsAnOpenScreenAndAWindow) {
    EXPECT_EQ(screen::CanvasOpen(0, 0, 0, 0, 10, 10), 0);
    EXPECT_EQ(screen::CanvasOpen(0, Second(), 0, 0, 0, 10), 0);
    screen::ScreenClose();
    EXPECT_EQ(screen::CanvasOpen(0, Second(), 0, 0, 10, 10), 0);
}

TEST_F(CanvasTest, PixelViewsShowTheWholeSpriteAndWhatIsDrawnOn) {
    ASSERT_NE(screen::SpriteLoadMemory(3, PatternBmp(40, 30)), 0);
    screen::SpriteClip(3, 10, 10, 5, 5);  // the clip does not narrow the view
    const screen::PixelView sprite = screen::SpritePixels(3);
    ASSERT_NE(sprite.pixels, nullptr);
    EXPECT_EQ(sprite.width, 40);
    EXPECT_EQ(sprite.height, 30);
    EXPECT_EQ(sprite.Row(29)[39] & 0xFFFFFFu, PatternPixel(39, 29));
    EXPECT_EQ(screen::SpritePixels(4).pixels, nullptr);

    const screen::PixelView view = screen::ScreenPixels();
    ASSERT_NE(view.pixels, nullptr);
    view.Row(499)[499] = 0x123456;
    EXPECT_EQ(screen::ScreenBackBufferPixel(499, 499), 0x123456u);
    screen::DrawingStart(screen::ScreenOutput());  // a drawing context is out: no view
    EXPECT_EQ(screen::ScreenPixels().pixels, nullptr);
    screen::DrawingStop();
}

}  // namespace
