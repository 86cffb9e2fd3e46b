// Colours and image rows converted for every display the screen library knows.
#include <gtest/gtest.h>

#include <vector>

#include "screen/PixelConversion.h"

namespace {

using screen::ColorToPixelFor;
using screen::ConvertRow;

TEST(PixelConversion, DisplayFormatsAreClassifiedByDepthAndMasks) {
    EXPECT_EQ(screen::ClassifyPixelFormat(8, 0, 0), screen::kFormatPalette);
    EXPECT_EQ(screen::ClassifyPixelFormat(16, 0xF800, 0x7E0), screen::kFormat565);
    EXPECT_EQ(screen::ClassifyPixelFormat(16, 0x7C00, 0x3E0), screen::kFormat555);
    EXPECT_EQ(screen::ClassifyPixelFormat(24, 0xFF, 0xFF00), screen::kFormat24Rgb);
    EXPECT_EQ(screen::ClassifyPixelFormat(24, 0xFF0000, 0xFF00), screen::kFormat24Bgr);
    EXPECT_EQ(screen::ClassifyPixelFormat(32, 0xFF, 0xFF00), screen::kFormat32Rgb);
    EXPECT_EQ(screen::ClassifyPixelFormat(32, 0xFF0000, 0xFF00), screen::kFormat32Bgr);
}

TEST(PixelConversion, ColoursBecomeNativePixels) {
    struct Case {
        std::int32_t depth, code, r, g, b;
        std::uint32_t pixel;
    };
    const Case cases[] = {
        // The editor's grey on 5-6-5: red 12, green 25, blue 12.
        {16, screen::kFormat565, 100, 100, 100, (12u << 11) | (25u << 5) | 12u},
        // A 5-5-5 display still gets 5-6-5 colours: the depth decides, not the code.
        {16, screen::kFormat555, 100, 100, 100, (12u << 11) | (25u << 5) | 12u},
        {15, screen::kFormat555, 255, 0, 8, (31u << 10) | 1u},
        {32, screen::kFormat32Bgr, 100, 100, 100, 0x646464},
        {32, screen::kFormat32Bgr, 0x12, 0x34, 0x56, 0x123456},
        {24, screen::kFormat24Rgb, 0x12, 0x34, 0x56, 0x563412},
        {32, screen::kFormat32Rgb, 0x12, 0x34, 0x56, 0x563412},
        {8, screen::kFormatPalette, 255, 255, 255, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ColorToPixelFor(c.depth, c.code, c.r, c.g, c.b), c.pixel)
            << c.depth << "/" << c.code << " " << c.r << "," << c.g << "," << c.b;
    }
}

TEST(PixelConversion, TrueColourRowsOnEachDisplay) {
    // Two pixels, B, G, R: white and (R, G, B) = (8, 4, 8).
    const std::vector<std::uint8_t> source = {255, 255, 255, 8, 4, 8};
    std::vector<std::uint8_t> out(8, 0xAA);

    ASSERT_TRUE(ConvertRow(source.data(), 24, 2, out.data(), 16, screen::kFormat565));
    EXPECT_EQ(out[0] | (out[1] << 8), 0xFFFF);  // 31, 63, 31
    EXPECT_EQ(out[2] | (out[3] << 8), (1 << 11) | (1 << 5) | 1);
    EXPECT_EQ(out[4], 0xAA);

    ASSERT_TRUE(ConvertRow(source.data(), 24, 2, out.data(), 16, screen::kFormat555));
    EXPECT_EQ(out[0] | (out[1] << 8), 0x7FFF);
    EXPECT_EQ(out[2] | (out[3] << 8), (1 << 10) | (0 << 5) | 1);

    ASSERT_TRUE(ConvertRow(source.data(), 24, 2, out.data(), 24, screen::kFormat24Rgb));
    EXPECT_EQ(std::vector<std::uint8_t>(out.begin(), out.begin() + 7),
              (std::vector<std::uint8_t>{255, 255, 255, 8, 4, 8, 0xAA}));

    // 32-bit sources lose their alpha; 32-bit displays get a fourth byte 0.
    const std::vector<std::uint8_t> alpha = {1, 2, 3, 200, 4, 5, 6, 7};
    ASSERT_TRUE(ConvertRow(alpha.data(), 32, 2, out.data(), 32, screen::kFormat32Bgr));
    EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 2, 3, 0, 4, 5, 6, 0}));
}

TEST(PixelConversion, FiveFiveFiveRowsOnEachDisplay) {
    // R5 = 31, G5 = 1, B5 = 2.
    const std::uint32_t value = (31u << 10) | (1u << 5) | 2u;
    const std::vector<std::uint8_t> source = {static_cast<std::uint8_t>(value),
                                              static_cast<std::uint8_t>(value >> 8)};
    std::vector<std::uint8_t> out(4, 0);
    ASSERT_TRUE(ConvertRow(source.data(), 16, 1, out.data(), 16, screen::kFormat555));
    EXPECT_EQ(out[0] | (out[1] << 8), static_cast<int>(value));
    ASSERT_TRUE(ConvertRow(source.data(), 16, 1, out.data(), 16, screen::kFormat565));
    EXPECT_EQ(out[0] | (out[1] << 8), (31 << 11) | (2 << 5) | 2);
    ASSERT_TRUE(ConvertRow(source.data(), 16, 1, out.data(), 32, screen::kFormat32Bgr));
    EXPECT_EQ(out, (std::vector<std::uint8_t>{16, 8, 248, 0}));
}

TEST(PixelConversion, PalettePixelsOnlyOntoPaletteDisplays) {
    const std::vector<std::uint8_t> source = {7, 9};
    std::vector<std::uint8_t> out(8, 0);
    EXPECT_TRUE(ConvertRow(source.data(), 8, 2, out.data(), 8, screen::kFormatPalette));
    EXPECT_EQ(out[1], 9);
    EXPECT_FALSE(ConvertRow(source.data(), 8, 2, out.data(), 32, screen::kFormat32Bgr));
    EXPECT_FALSE(ConvertRow(source.data(), 24, 2, out.data(), 8, screen::kFormatPalette));
}

}  // namespace
