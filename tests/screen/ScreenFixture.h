// A test with the screen libraries started and a 500 x 500 screen open at (4, 4) of a plain
// 760 x 560 window, as the editor opens it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "screen/Drawing.h"
#include "screen/ImageDecoder.h"
#include "screen/Keyboard.h"
#include "screen/PngDecoder.h"
#include "screen/Screen.h"
#include "screen/Sprite.h"
#include "support/TestWindow.h"

namespace testing_support {

inline constexpr std::uint32_t kGrey = 0x646464;  // 0x00BBGGRR and 0x00RRGGBB alike

class ScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = std::make_unique<TestWindow>(760, 560);
        screen::DrawingLibraryInit();
        screen::FontLibraryInit();
        screen::ImageDecoderInit();
        ASSERT_NE(screen::SpriteInit(), 0);
        screen::DecoderPngRegister();
        ASSERT_EQ(screen::ScreenOpenWindowed(Window(), 4, 4, 500, 500, 0, 0, 0), 1);
    }

    void TearDown() override {
        screen::DrawingStop();
        screen::SpriteEnd();
        screen::KeyboardEnd();
        screen::FontLibraryEnd();
        window_.reset();
    }

    std::intptr_t Window() const { return window_->Handle(); }

    std::unique_ptr<TestWindow> window_;
};

}  // namespace testing_support
