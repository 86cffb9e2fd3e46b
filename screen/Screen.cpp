// The windowed screen: state, open and close, clear, flip, the drawing context.
//
// The display is the platform's presentation surface; the back buffer is a plain pixel block
// in the display format; flipping copies it into the window's surface. Surfaces are never
// lost on this platform, so nothing needs restoring after a desktop lock, and there is no
// scan line to wait for: the copy follows the frame wait at once.
#include "screen/Screen.h"

#include <algorithm>

#include "platform/Clock.h"
#include "platform/Surface.h"
#include "screen/FramePacing.h"
#include "screen/Keyboard.h"
#include "screen/PixelConversion.h"
#include "screen/ScreenInternal.h"

namespace screen {

namespace {

struct ScreenState {
    bool initialised = false;
    bool display = false;  // the platform can show pictures
    std::int32_t displayReferences = 0;
    std::intptr_t window = 0;  // the window the screen is open in, 0 for none
    PixelBuffer backBuffer;
    PixelBuffer* canvas = nullptr;  // drawn on instead of the back buffer while selected
    std::int32_t openWidth = 0;     // non-zero while a screen is open
    std::int32_t openHeight = 0;
    std::int32_t depth = 0;
    std::int32_t pixelFormat = 0;
    bool windowed = false;
    bool active = false;
    std::int32_t frameRate = 0;  // 0: not chosen yet
    bool rateChosenByOpen = false;
    std::int32_t ticksPerFrame = 0;
    std::int32_t lastTick = 0;
    DeviceContext context;
    DrawingTarget target;
};

ScreenState gScreen;

void ReleaseContext(std::uint32_t serial) {
    if (gScreen.context.held && gScreen.context.serial == serial) gScreen.context.held = false;
}

// Frees every resource of the screen; the window shows its own background again.
void ScreenRelease() {
    internal::SpriteFreeAll();
    gScreen.canvas = nullptr;
    gScreen.context.held = false;
    gScreen.backBuffer.Reset();
    gScreen.active = false;
    if (gScreen.windowed) {
        gScreen.windowed = false;
        platform::SurfaceDetach(gScreen.window);
    }
    gScreen.window = 0;
}

}  // namespace

namespace internal {

PixelBuffer* BlitTarget() {
    PixelBuffer* target = gScreen.canvas != nullptr ? gScreen.canvas : &gScreen.backBuffer;
    if (!gScreen.active || target->Empty() || gScreen.context.held) return nullptr;
    return target;
}

void DrawOnCanvas(PixelBuffer* canvas) {
    if (gScreen.canvas == canvas) return;
    ReleaseContext(gScreen.context.serial);
    gScreen.canvas = canvas;
}

const PixelBuffer* CurrentCanvas() { return gScreen.canvas; }

bool ScreenActive() { return gScreen.active; }

std::int32_t ScreenDepth() { return gScreen.depth; }
std::int32_t ScreenPixelFormat() { return gScreen.pixelFormat; }
std::int32_t ScreenTicksPerFrame() { return gScreen.ticksPerFrame; }

}  // namespace internal

std::int32_t SpriteInit() {
    gScreen.frameRate = 0;
    gScreen.rateChosenByOpen = false;
    gScreen.context.held = false;
    internal::SpriteTableCreate();
    if (KeyboardInit() == 0) return 0;
    gScreen.initialised = true;
    if (!gScreen.display) gScreen.display = platform::DisplayAvailable();
    ++gScreen.displayReferences;
    return gScreen.display ? 1 : 0;
}

std::int32_t ScreenSetFrameRate(std::int32_t rate) {
    const std::int64_t frequency = platform::ClockFrequency();
    // A rate of -1 would divide by zero.
    if (frequency <= 0 || rate == -1) return 0;
    gScreen.rateChosenByOpen = false;
    gScreen.frameRate = rate;
    gScreen.ticksPerFrame = static_cast<std::int32_t>(
        std::clamp<std::int64_t>(frequency / (std::int64_t{rate} + 1), INT32_MIN, INT32_MAX));
    gScreen.lastTick = 0;
    return 1;
}

std::int32_t ScreenFrameRate() { return gScreen.frameRate; }

void ScreenClose() {
    if (gScreen.openWidth == 0) return;
    if (gScreen.rateChosenByOpen) ScreenSetFrameRate(0);
    ScreenRelease();
    gScreen.openWidth = gScreen.openHeight = 0;
}

std::int32_t ScreenOpenWindowed(std::intptr_t window, std::int32_t x, std::int32_t y,
                                std::int32_t width, std::int32_t height, std::int32_t stretch,
                                std::int32_t rightMargin, std::int32_t bottomMargin) {
    ScreenClose();
    if (window == 0 || !gScreen.display) {
        ScreenRelease();
        return 0;
    }
    gScreen.window = window;
    gScreen.openWidth = width;
    gScreen.openHeight = height;
    gScreen.depth = platform::kPictureDepth;
    if (gScreen.frameRate == 0) {
        ScreenSetFrameRate(60);
        gScreen.rateChosenByOpen = true;
    } else {
        gScreen.rateChosenByOpen = false;
    }
    gScreen.windowed = true;

    platform::PicturePlacement placement;
    placement.x = x;
    placement.y = y;
    placement.width = width;
    placement.height = height;
    placement.stretch = stretch != 0;
    placement.rightMargin = rightMargin;
    placement.bottomMargin = bottomMargin;
    // The back buffer starts black; the attach hooks the window once and places the picture.
    if (!gScreen.backBuffer.Allocate(width, height) ||
        !platform::SurfaceAttach(window, placement)) {
        // A failed open leaves no screen, as if none had been opened.
        if (gScreen.rateChosenByOpen) ScreenSetFrameRate(0);
        ScreenRelease();
        gScreen.openWidth = gScreen.openHeight = 0;
        return 0;
    }
    gScreen.pixelFormat =
        ClassifyPixelFormat(gScreen.depth, platform::kPictureRedMask, platform::kPictureGreenMask);
    gScreen.active = true;
    return 1;
}

std::uint32_t ColorToPixel(std::int32_t r, std::int32_t g, std::int32_t b) {
    return ColorToPixelFor(gScreen.depth, gScreen.pixelFormat, r, g, b);
}

void ScreenClear(std::int32_t colour) {
    PixelBuffer* target = internal::BlitTarget();
    if (target == nullptr) return;
    const std::uint32_t pixel =
        gScreen.depth > 8 ? ColorToPixel(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF)
                          : static_cast<std::uint32_t>(colour);
    for (std::int32_t y = 0; y < target->Height(); ++y) {
        std::fill_n(target->Row(y), target->Width(), pixel);
    }
}

void ScreenFlip() {
    if (gScreen.openWidth == 0 || gScreen.backBuffer.Empty()) return;
    ReleaseContext(gScreen.context.serial);
    gScreen.canvas = nullptr;
    WaitForFrame(gScreen.lastTick, gScreen.ticksPerFrame, platform::ClockFrequency(),
                 platform::ClockCounter, platform::ClockSleep);
    platform::SurfacePresent(gScreen.window, gScreen.backBuffer.Data(), gScreen.backBuffer.Width(),
                             gScreen.backBuffer.Height(), gScreen.backBuffer.Pitch());
}

DrawingTarget* ScreenOutput() {
    PixelBuffer& buffer = gScreen.canvas != nullptr ? *gScreen.canvas : gScreen.backBuffer;
    if (gScreen.context.held || buffer.Empty()) return nullptr;
    const std::uint32_t serial = gScreen.context.serial + 1;
    DeviceContext& dc = gScreen.context;
    dc = DeviceContext{};
    dc.pixels = buffer.Data();
    dc.width = buffer.Width();
    dc.height = buffer.Height();
    dc.pitch = buffer.Pitch();
    dc.depth = gScreen.depth;
    dc.pixelFormat = gScreen.pixelFormat;
    dc.held = true;
    dc.serial = serial;
    gScreen.target =
        DrawingTarget{kTargetScreenBackBuffer, &dc, &ReleaseContext, dc.width, dc.height, dc.depth,
                      dc.pixelFormat};
    return &gScreen.target;
}

PixelView ScreenPixels() {
    PixelBuffer* target = internal::BlitTarget();
    if (target == nullptr) return {};
    return PixelView{target->Data(), target->Width(), target->Height(), target->Pitch()};
}

void ScreenEnd() {
    // Everything of the screen goes with SpriteEnd; this step only keeps its place in the
    // shut-down order.
}

void SpriteEnd() {
    if (!gScreen.initialised) return;
    internal::CanvasFreeAll();
    ScreenClose();
    ScreenRelease();
    if (gScreen.displayReferences > 0 && --gScreen.displayReferences == 0) gScreen.display = false;
}

std::uint32_t ScreenBackBufferPixel(std::int32_t x, std::int32_t y) {
    const PixelBuffer& buffer = gScreen.backBuffer;
    if (buffer.Empty() || x < 0 || y < 0 || x >= buffer.Width() || y >= buffer.Height()) return 0;
    return buffer.Row(y)[x] & 0x00FFFFFFu;
}

}  // namespace screen
