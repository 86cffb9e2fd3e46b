// What the screen hands to the drawing library: the back buffer's drawing context and the
// record around it.
#pragma once

#include <cstdint>

namespace screen {

// A drawing context on 32-bit pixels: the pixels and what is selected into it. The screen
// makes a fresh one for each ScreenOutput (black pen, white brush, system font, text opaque on
// white, plain copying) and takes it back at its release; a context that is not held, or held
// again under a newer serial, is no longer drawable.
struct DeviceContext {
    std::uint32_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t pitch = 0;  // pixels
    std::int32_t depth = 0;
    std::int32_t pixelFormat = 0;
    bool held = false;
    std::uint32_t serial = 0;

    // Colours are 0x00BBGGRR.
    std::uint32_t penColour = 0;
    bool brushNull = false;
    std::uint32_t brushColour = 0xFFFFFF;
    std::intptr_t font = 0;  // 0: the system font
    bool opaqueText = true;
    std::uint32_t backgroundColour = 0xFFFFFF;
    std::uint32_t textColour = 0;
    bool invert = false;
};

inline constexpr std::int32_t kTargetScreenBackBuffer = 7;

struct DrawingTarget {
    std::int32_t kind = 0;
    DeviceContext* context = nullptr;
    // Gives the context of that serial back; a context handed out since is left alone.
    void (*release)(std::uint32_t serial) = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t depth = 0;
    std::int32_t pixelFormat = 0;
};

}  // namespace screen
