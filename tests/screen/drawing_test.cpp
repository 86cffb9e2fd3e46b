// Shapes and text drawn on the back buffer, checked pixel by pixel.
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "ScreenFixture.h"
#include "platform/Text.h"

namespace {

using testing_support::kGrey;
using Points = std::set<std::pair<std::int32_t, std::int32_t>>;

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kWhite = 0xFFFFFF;
constexpr std::uint32_t kInvertedGrey = 0x9B9B9B;
// The same colours as the drawing library takes them (0x00BBGGRR).
constexpr std::int32_t kRedColour = 0x0000FF, kGreenColour = 0x00FF00;

class DrawingTest : public testing_support::ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Restart();
    }

    // A grey back buffer and a new drawing on it (black, mode 0). The clear has to come
    // before the start: blits wait while the drawing holds the back buffer.
    void Restart() {
        screen::DrawingStop();
        screen::ScreenClear(kGrey);
        ASSERT_NE(screen::DrawingStart(screen::ScreenOutput()), 0);
    }

    // Pixels of the back buffer that differ from what `expected` says.
    int Mismatches(const std::function<std::uint32_t(std::int32_t, std::int32_t)>& expected) {
        int mismatches = 0;
        for (std::int32_t y = 0; y < 500; ++y) {
            for (std::int32_t x = 0; x < 500; ++x) {
                if (screen::ScreenBackBufferPixel(x, y) != expected(x, y)) ++mismatches;
            }
        }
        return mismatches;
    }

    Points Changed() {
        Points changed;
        for (std::int32_t y = 0; y < 500; ++y) {
            for (std::int32_t x = 0; x < 500; ++x) {
                if (screen::ScreenBackBufferPixel(x, y) != kGrey) changed.insert({x, y});
            }
        }
        return changed;
    }
};

// The circle's rule worked out pixel by pixel: inside when the pixel's centre lies within r of
// the corner (x, y); outline when a neighbour is not inside.
bool InCircle(std::int64_t cx, std::int64_t cy, std::int64_t r, std::int64_t x, std::int64_t y) {
    const std::int64_t dx = 2 * (x - cx) + 1, dy = 2 * (y - cy) + 1;
    return dx * dx + dy * dy <= 4 * r * r;
}

bool OnCircle(std::int64_t cx, std::int64_t cy, std::int64_t r, std::int64_t x, std::int64_t y) {
    return InCircle(cx, cy, r, x, y) &&
           !(InCircle(cx, cy, r, x - 1, y) && InCircle(cx, cy, r, x + 1, y) &&
             InCircle(cx, cy, r, x, y - 1) && InCircle(cx, cy, r, x, y + 1));
}

TEST_F(DrawingTest, LinesIncludeBothEnds) {
    struct Case {
        std::int32_t x1, y1, x2, y2;
        Points pixels;
    };
    Points row250;
    for (std::int32_t x = 0; x < 500; ++x) row250.insert({x, 250});
    const std::vector<Case> cases = {
        {10,
         10,
         20,
         10,
         {{10, 10},
          {11, 10},
          {12, 10},
          {13, 10},
          {14, 10},
          {15, 10},
          {16, 10},
          {17, 10},
          {18, 10},
          {19, 10},
          {20, 10}}},
        {8, 3, 5, 3, {{5, 3}, {6, 3}, {7, 3}, {8, 3}}},
        {5, 5, 5, 5, {{5, 5}}},
        {0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}, {2, 5}}},
        {-5, -5, 2, 2, {{0, 0}, {1, 1}, {2, 2}}},
        {-1000000000, 250, 1000000000, 250, row250},
        {498, 0, 2000000000, 0, {{498, 0}, {499, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x1 << "," << c.y1 << " - " << c.x2 << "," << c.y2);
        Restart();
        screen::DrawLine(c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(Changed(), c.pixels);
        for (const auto& [x, y] : c.pixels) EXPECT_EQ(screen::ScreenBackBufferPixel(x, y), 0u);
    }
}

TEST_F(DrawingTest, InvertedLineSetsItsEndInTheFrontColour) {
    screen::DrawFrontColor(kRedColour);
    screen::DrawingMode(screen::kDrawInvert);
    screen::DrawLine(10, 10, 13, 10);
    EXPECT_EQ(Mismatches([](std::int32_t x, std::int32_t y) {
                  if (y != 10 || x < 10 || x > 13) return kGrey;
                  return x == 13 ? kRed : kInvertedGrey;
              }),
              0);
}

TEST_F(DrawingTest, BoxesCoverTheirColumnsAndRows) {
    // The brush preview: filled black, lower right pixel at (489, 489).
    screen::DrawBox(470 - 64, 470 - 64, 84, 84);
    EXPECT_EQ(Mismatches([](std::int32_t x, std::int32_t y) {
                  return x >= 406 && x <= 489 && y >= 406 && y <= 489 ? 0u : kGrey;
              }),
              0);

    // The hover frame: outlined, red.
    Restart();
    screen::DrawingMode(screen::kDrawOutlined);
    screen::DrawFrontColor(kRedColour);
    screen::DrawBox(-6, 100, 64, 64);
    EXPECT_EQ(Mismatches([](std::int32_t x, std::int32_t y) {
                  const bool inside = x <= 57 && y >= 100 && y <= 163;
                  const bool border = x == 57 || y == 100 || y == 163;
                  return inside && border ? kRed : kGrey;
              }),
              0);

    // Inverted and filled: every covered pixel once.
    Restart();
    screen::DrawFrontColor(kRedColour);
    screen::DrawingMode(screen::kDrawInvert);
    screen::DrawBox(10, 10, 3, 4);
    EXPECT_EQ(Mismatches([](std::int32_t x, std::int32_t y) {
                  return x >= 10 && x <= 12 && y >= 10 && y <= 13 ? kInvertedGrey : kGrey;
              }),
              0);

    // A 1 x 1 box is a pixel in the front colour, inverting or not; an empty box is nothing.
    Restart();
    screen::DrawFrontColor(kRedColour);
    screen::DrawingMode(screen::kDrawInvert);
    screen::DrawBox(7, 8, 1, 1);
    screen::DrawBox(20, 20, 0, 5);
    EXPECT_EQ(Changed(), (Points{{7, 8}}));
    EXPECT_EQ(screen::ScreenBackBufferPixel(7, 8), kRed);
}

TEST_F(DrawingTest, CirclesFollowTheirRuleInTheirBox) {
    // The player marker's outline.
    screen::DrawFrontColor(kRedColour);
    screen::DrawingMode(screen::kDrawOutlined);
    screen::DrawCircle(100, 100, 22);
    EXPECT_EQ(Mismatches([](std::int32_t x, std::int32_t y) {
                  return OnCircle(100, 100, 22, x, y) ? kRed : kGrey;
              }),
              0);
    const Points outline = Changed();
    EXPECT_EQ(outline.begin()->first, 78);    // touches x - 22 ...
    EXPECT_EQ(outline.rbegin()->first, 121);  // ... and x + 21
    EXPECT_EQ(screen::ScreenBackBufferPixel(100, 100), kGrey);

    // Filled, partly off the screen, with the brush of the last colour set outside outlined
    // mode (green) and the pen of the last colour set at all (red).
    Restart();
    screen::DrawFrontColor(kGreenColour);
    screen::DrawingMode(screen::kDrawOutlined);
    screen::DrawFrontColor(kRedColour);
    screen::DrawingMode(0);
    screen::DrawCircle(3, 490, 40);
    EXPECT_EQ(Mismatches([](std::int32_t x, std::int32_t y) {
                  if (OnCircle(3, 490, 40, x, y)) return kRed;
                  return InCircle(3, 490, 40, x, y) ? kGreen : kGrey;
              }),
              0);

    // Radius 1 is one pixel, radius 0 nothing, a negative radius its positive twin.
    Restart();
    screen::DrawCircle(50, 50, 1);
    screen::DrawCircle(60, 60, 0);
    EXPECT_EQ(Changed(), (Points{{50, 50}}));
    Restart();
    screen::DrawCircle(50, 50, -5);
    EXPECT_EQ(Mismatches([](std::int32_t x, std::int32_t y) {
                  return InCircle(50, 50, 5, x, y) ? 0u : kGrey;
              }),
              0);
}

TEST_F(DrawingTest, TextDrawsInsideItsCellAndReturnsItsEnd) {
    const std::string text = "Feld (12;-3)";
    const std::int32_t width = platform::TextWidth(platform::TextSystemFont(), text);
    const std::int32_t cell = platform::TextCellHeight(platform::TextSystemFont());
    ASSERT_GT(width, 0);
    auto inCell = [&](std::int32_t x, std::int32_t y) {
        return x >= 5 && x < 5 + width && y >= 5 && y < 5 + cell;
    };

    // Opaque (mode 0): the cell on white, the letters in the front colour, nothing outside.
    screen::DrawFrontColor(kRedColour);
    EXPECT_EQ(screen::DrawText(5, 5, text), 5 + width);
    std::set<std::uint32_t> colours;
    for (const auto& [x, y] : Changed()) {
        EXPECT_TRUE(inCell(x, y)) << x << "," << y;
        colours.insert(screen::ScreenBackBufferPixel(x, y));
    }
    EXPECT_EQ(colours, (std::set<std::uint32_t>{kRed, kWhite}));

    // Transparent: only letters.
    Restart();
    screen::DrawFrontColor(kRedColour);
    screen::DrawingMode(screen::kDrawTransparent);
    EXPECT_EQ(screen::DrawText(5, 5, text), 5 + width);
    colours.clear();
    for (const auto& [x, y] : Changed()) {
        EXPECT_TRUE(inCell(x, y));
        colours.insert(screen::ScreenBackBufferPixel(x, y));
    }
    EXPECT_EQ(colours, (std::set<std::uint32_t>{kRed}));

    // An empty text draws nothing; a runtime string ends at its first zero byte.
    Restart();
    EXPECT_EQ(screen::DrawText(40, 7, ""), 40);
    EXPECT_EQ(screen::DrawText(40, 7, std::string_view("\0abc", 4)), 40);
    EXPECT_TRUE(Changed().empty());
    EXPECT_EQ(screen::DrawText(-30, 7, "Posi"),
              -30 + platform::TextWidth(platform::TextSystemFont(), "Posi"));
}

TEST_F(DrawingTest, FontsAreLoadedAtNinetySixDotsPerInch) {
    EXPECT_EQ(screen::FontPixelHeight(18), 24);
    EXPECT_EQ(screen::FontPixelHeight(8), 11);  // 10.67 rounds up
    const std::intptr_t courier = screen::FontLoad(0, "Courier", 18, screen::kFontBold);
    ASSERT_NE(courier, 0);
    const platform::TextFontInfo info = platform::TextFontDescribe(courier);
    EXPECT_EQ(info.emHeight, 24);
    EXPECT_EQ(info.weight, 700);
    EXPECT_FALSE(info.italic || info.underline || info.strikeOut);
    EXPECT_TRUE(info.fixedPitch) << info.family;

    // The selected font sets the advance: ten letters of a fixed-pitch font.
    screen::DrawingFont(courier);
    const std::int32_t oneLetter = screen::DrawText(0, 0, "W");
    EXPECT_EQ(screen::DrawText(0, 30, "iiiiiiiiii"), 10 * oneLetter);

    // -1 is the system font; a value that is no font keeps the selection.
    screen::DrawingFont(12345);
    EXPECT_EQ(screen::DrawText(0, 60, "W"), oneLetter);
    screen::DrawingFont(-1);
    EXPECT_EQ(screen::DrawText(0, 60, "W"), platform::TextWidth(platform::TextSystemFont(), "W"));

    // A freed font is gone; text selected with it falls back to the system font.
    screen::DrawingFont(courier);
    screen::FontFree(0);
    EXPECT_FALSE(platform::TextFontValid(courier));
    EXPECT_EQ(screen::DrawText(0, 90, "W"), platform::TextWidth(platform::TextSystemFont(), "W"));

    // Style bits and dynamic fonts.
    const std::intptr_t dynamic =
        screen::FontLoad(-1, "Liberation Sans", 10, screen::kFontItalic | screen::kFontUnderline);
    ASSERT_LT(dynamic, -1);
    screen::FontLibraryEnd();
}

TEST_F(DrawingTest, DrawingEndsWithItsContext) {
    // The context is out: a second ScreenOutput gives nothing, so this start only stops the
    // drawing in progress.
    EXPECT_EQ(screen::DrawingStart(screen::ScreenOutput()), 0);
    screen::DrawBox(0, 0, 10, 10);
    EXPECT_EQ(screen::DrawText(5, 5, "x"), 0);
    EXPECT_TRUE(Changed().empty());

    // A flip takes the context back; a drawing left running draws no more.
    ASSERT_NE(screen::DrawingStart(screen::ScreenOutput()), 0);
    screen::ScreenFlip();
    screen::DrawBox(0, 0, 10, 10);
    EXPECT_TRUE(Changed().empty());
    // Its late stop does not take the context of the next drawing.
    ASSERT_NE(screen::DrawingStart(screen::ScreenOutput()), 0);
    screen::DrawBox(0, 0, 2, 2);
    EXPECT_EQ(Changed().size(), 4u);
    screen::DrawingStop();
    EXPECT_NE(screen::ScreenOutput(), nullptr);
}

}  // namespace
