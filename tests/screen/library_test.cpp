// The keyboard device's reference counting, and the screen libraries in the runtime's
// start-up and shut-down sequences.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/Text.h"
#include "runtime/Runtime.h"
#include "screen/Drawing.h"
#include "screen/ImageDecoder.h"
#include "screen/Keyboard.h"
#include "screen/PngDecoder.h"
#include "screen/Screen.h"
#include "screen/ScreenInstall.h"
#include "screen/Sprite.h"
#include "support/TempDir.h"
#include "support/TestWindow.h"

namespace {

TEST(Keyboard, DeviceIsMadeOnceAndReferencesAreCounted) {
    const std::int32_t base = screen::KeyboardInputReferences();
    EXPECT_NE(screen::KeyboardInit(), 0);
    EXPECT_NE(screen::KeyboardInit(), 0);
    EXPECT_EQ(screen::KeyboardInputReferences(), base + 2);
    EXPECT_TRUE(screen::KeyboardDeviceReady());

    screen::KeyboardEnd();
    EXPECT_EQ(screen::KeyboardInputReferences(), base + 1);
    EXPECT_FALSE(screen::KeyboardDeviceReady());
    // Made again by the next init, not reported ready without a device.
    EXPECT_NE(screen::KeyboardInit(), 0);
    EXPECT_TRUE(screen::KeyboardDeviceReady());

    for (int i = 0; i < 5; ++i) screen::KeyboardEnd();
    EXPECT_EQ(screen::KeyboardInputReferences(), 0);
}

TEST(ScreenInstall, LibrariesStartAndEndWithTheRuntime) {
    testing_support::TestWindow window(760, 560);
    screen::ScreenInstall();
    runtime::RuntimeStart();
    EXPECT_TRUE(screen::ImageDecoderRegistered(screen::PngDecoder()));
    EXPECT_EQ(screen::KeyboardInputReferences(), 1);

    ASSERT_EQ(screen::ScreenOpenWindowed(window.Handle(), 4, 4, 500, 500, 0, 0, 0), 1);
    const auto png =
        testing_support::ReadBytes(std::filesystem::path(PNGSUITE_DIR) / "basn2c08.png");
    ASSERT_NE(screen::SpriteLoadMemory(0, std::span<const std::uint8_t>(png)), 0);
    const std::intptr_t font = screen::FontLoad(0, "Courier", 18, screen::kFontBold);
    ASSERT_NE(font, 0);
    ASSERT_NE(screen::DrawingStart(screen::ScreenOutput()), 0);
    screen::DrawingStop();

    runtime::RuntimeEnd();
    EXPECT_EQ(screen::SpriteWidth(0), 0);
    EXPECT_EQ(screen::ScreenOutput(), nullptr);
    EXPECT_FALSE(platform::TextFontValid(font));
    EXPECT_EQ(screen::KeyboardInputReferences(), 0);
}

}  // namespace
