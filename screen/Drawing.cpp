// The drawing library: the drawing state, pens and brushes as colours, shapes through the
// rasteriser and text through the platform.
#include "screen/Drawing.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/Text.h"
#include "screen/PixelConversion.h"
#include "screen/Raster.h"

namespace screen {

namespace {

constexpr std::uint32_t kBlack = 0;

struct DrawingState {
    DeviceContext* context = nullptr;  // non-null while a drawing is in progress
    std::uint32_t serial = 0;          // the context's serial at DrawingStart
    std::uint32_t frontColour = kBlack;
    std::int32_t mode = 0;
    // The brush of the last colour set outside outlined mode (the pen is the context's).
    std::optional<std::uint32_t> currentBrush;
    // What the context had selected before the drawing, put back by DrawingStop.
    bool savedBrushNull = false;
    std::uint32_t savedBrush = 0;
    std::uint32_t savedPen = 0;
    void (*release)(std::uint32_t serial) = nullptr;
};

DrawingState gDrawing;

// The context of the drawing in progress while it may still be drawn on.
DeviceContext* Drawable() {
    DeviceContext* dc = gDrawing.context;
    if (dc == nullptr || !dc->held || dc->serial != gDrawing.serial) return nullptr;
    return dc;
}

std::uint32_t Pixel(const DeviceContext& dc, std::uint32_t colour) {
    return ColorToPixelFor(dc.depth, dc.pixelFormat, static_cast<std::int32_t>(colour & 0xFF),
                           static_cast<std::int32_t>((colour >> 8) & 0xFF),
                           static_cast<std::int32_t>((colour >> 16) & 0xFF));
}

RasterTarget Target(const DeviceContext& dc) {
    return RasterTarget{dc.pixels, dc.width, dc.height, dc.pitch};
}

// The pen, brush and raster operation selected in the context.
RasterPaint Paint(const DeviceContext& dc) {
    RasterPaint paint;
    paint.invert = dc.invert;
    paint.pen = Pixel(dc, dc.penColour);
    if (!dc.brushNull) paint.brush = Pixel(dc, dc.brushColour);
    return paint;
}

// 0x00BBGGRR as 0x00RRGGBB for the text rasterizer.
std::uint32_t Rgb(std::uint32_t colour) {
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

}  // namespace

void DrawingLibraryInit() { gDrawing = DrawingState{}; }

std::intptr_t DrawingStart(DrawingTarget* target) {
    DrawingStop();
    if (target == nullptr) return 0;
    gDrawing.release = target->release;
    gDrawing.mode = 0;
    DeviceContext* dc = target->context;
    // Only a context that is out for drawing can be drawn on.
    if (dc == nullptr || !dc->held) return 0;
    gDrawing.context = dc;
    gDrawing.serial = dc->serial;
    gDrawing.savedBrushNull = dc->brushNull;
    gDrawing.savedBrush = dc->brushColour;
    gDrawing.savedPen = dc->penColour;
    dc->brushNull = false;
    dc->brushColour = kBlack;
    dc->penColour = kBlack;
    gDrawing.frontColour = kBlack;
    gDrawing.currentBrush = kBlack;
    dc->textColour = kBlack;
    return reinterpret_cast<std::intptr_t>(dc);
}

void DrawingStop() {
    if (gDrawing.context == nullptr) return;
    if (DeviceContext* dc = Drawable()) {
        dc->brushNull = gDrawing.savedBrushNull;
        dc->brushColour = gDrawing.savedBrush;
        dc->penColour = gDrawing.savedPen;
    }
    gDrawing.currentBrush.reset();
    if (gDrawing.release != nullptr) gDrawing.release(gDrawing.serial);
    gDrawing.context = nullptr;
}

void DrawFrontColor(std::int32_t colour) {
    DeviceContext* dc = Drawable();
    if (dc == nullptr) return;
    const auto value = static_cast<std::uint32_t>(colour);
    gDrawing.frontColour = value;
    if ((gDrawing.mode & kDrawOutlined) == 0) {
        gDrawing.currentBrush = value;
        dc->brushNull = false;
        dc->brushColour = value;
    }
    dc->penColour = value;
    dc->textColour = value;
}

void DrawingMode(std::int32_t mode) {
    DeviceContext* dc = Drawable();
    if (dc == nullptr) return;
    gDrawing.mode = mode;
    dc->invert = (mode & kDrawInvert) != 0;
    if ((mode & kDrawOutlined) != 0) {
        dc->brushNull = true;
    } else if (gDrawing.currentBrush) {
        // Back to the brush of the last colour set outside outlined mode.
        dc->brushNull = false;
        dc->brushColour = *gDrawing.currentBrush;
    }
    dc->opaqueText = (mode & kDrawTransparent) == 0;
}

void DrawBox(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
    const DeviceContext* dc = Drawable();
    if (dc == nullptr) return;
    if (w == 1 && h == 1) {
        RasterSetPixel(Target(*dc), x, y, Pixel(*dc, gDrawing.frontColour));
        return;
    }
    RasterRectangle(Target(*dc), x, y, std::int64_t{x} + w, std::int64_t{y} + h, Paint(*dc));
}

void DrawCircle(std::int32_t x, std::int32_t y, std::int32_t radius) {
    const DeviceContext* dc = Drawable();
    if (dc == nullptr) return;
    if (radius == 1) {
        RasterRectangle(Target(*dc), x, y, std::int64_t{x} + 1, std::int64_t{y} + 1, Paint(*dc));
        return;
    }
    RasterCircle(Target(*dc), x, y, radius, Paint(*dc));
}

void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2) {
    const DeviceContext* dc = Drawable();
    if (dc == nullptr) return;
    RasterLine(Target(*dc), x1, y1, x2, y2, Paint(*dc));
    RasterSetPixel(Target(*dc), x2, y2, Pixel(*dc, gDrawing.frontColour));
}

std::int32_t DrawText(std::int32_t x, std::int32_t y, std::string_view text) {
    const DeviceContext* dc = Drawable();
    if (dc == nullptr) return 0;
    const std::size_t end = text.find('\0');
    if (end != std::string_view::npos) text = text.substr(0, end);
    if (text.empty()) return x;
    const platform::TextTarget target{dc->pixels, dc->width, dc->height, dc->pitch};
    const std::int32_t advance =
        platform::TextDraw(target, dc->font, x, y, text, Rgb(dc->textColour), dc->opaqueText,
                           Rgb(dc->backgroundColour));
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(std::int64_t{x} + advance, INT32_MIN, INT32_MAX));
}

void DrawingFont(std::intptr_t font) {
    DeviceContext* dc = Drawable();
    if (dc == nullptr) return;
    const platform::TextFont selected = font == -1 ? platform::TextSystemFont() : font;
    if (platform::TextFontValid(selected)) dc->font = selected;
}

}  // namespace screen
