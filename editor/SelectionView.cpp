// The selection's frame and the floating fields in the map view.
#include "editor/SelectionView.h"

#include <algorithm>
#include <cstdint>

#include "editor/EditorState.h"
#include "editor/MapDocument.h"
#include "editor/MapPicture.h"
#include "editor/Selection.h"
#include "editor/ViewScale.h"
#include "gui/Gadget.h"
#include "screen/Screen.h"
#include "screen/Sprite.h"

namespace editor {
namespace {

constexpr std::uint32_t kFrameDark = 0x000000;
constexpr std::uint32_t kFrameLight = 0xFFFFFF;
constexpr std::int32_t kDash = 4;

// The view pixels that show a rectangle of fields, cut to the view; false when none does.
struct ViewRect {
    std::int64_t left, top, right, bottom;  // inclusive, uncut
};
ViewRect FieldsInView(const FieldRect& rect) {
    const std::int64_t fw = Document.FieldWidth;
    const std::int64_t fh = Document.FieldHeight;
    return {ViewFirst(rect.Left * fw, View.ScrollX), ViewFirst(rect.Top * fh, View.ScrollY),
            ViewLast((rect.Right + 1) * fw - 1, View.ScrollX),
            ViewLast((rect.Bottom + 1) * fh - 1, View.ScrollY)};
}

// The display pixel of tile set pixel (x, y), or the view's grey outside the tile set.
std::uint32_t TilePixel(const screen::PixelView& tiles, std::int64_t x, std::int64_t y) {
    if (tiles.pixels == nullptr || x < 0 || y < 0 || x >= tiles.width || y >= tiles.height) {
        return static_cast<std::uint32_t>(kViewBackground);
    }
    return tiles.Row(static_cast<std::int32_t>(y))[x] & 0xFFFFFF;
}

// At 1:1 each field is its tile's clip of the tile set, as the map's fields are drawn.
void DrawFloatingOneToOne(const FieldRect& area, std::int32_t brush, std::int32_t row) {
    const std::int64_t fw = Document.FieldWidth;
    const std::int64_t fh = Document.FieldHeight;
    const std::int64_t firstX = std::max<std::int64_t>(area.Left, FloorDiv(View.ScrollX, fw));
    const std::int64_t lastX = std::min<std::int64_t>(
        area.Right, FloorDiv(std::int64_t{View.ScrollX} + kViewSize - 1, fw));
    const std::int64_t firstY = std::max<std::int64_t>(area.Top, FloorDiv(View.ScrollY, fh));
    const std::int64_t lastY = std::min<std::int64_t>(
        area.Bottom, FloorDiv(std::int64_t{View.ScrollY} + kViewSize - 1, fh));
    const screen::PixelView view = screen::ScreenPixels();
    const screen::PixelView tiles = screen::SpritePixels(kTileSet);
    for (std::int64_t y = firstY; y <= lastY; ++y) {
        for (std::int64_t x = firstX; x <= lastX; ++x) {
            std::int32_t tile = 0;
            if (!FloatingTileAt(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y), brush,
                                &tile)) {
                continue;
            }
            // The grey first: a picture that the tile set cuts short leaves it, as on the map.
            const std::int64_t left = x * fw - View.ScrollX;
            const std::int64_t top = y * fh - View.ScrollY;
            const std::int64_t l = std::max<std::int64_t>(0, left);
            const std::int64_t t = std::max<std::int64_t>(0, top);
            const std::int64_t r = std::min<std::int64_t>(view.width, left + fw);
            const std::int64_t b = std::min<std::int64_t>(view.height, top + fh);
            if (r > l && b > t) {
                FillBackground({view.Row(static_cast<std::int32_t>(t)) + l,
                                static_cast<std::int32_t>(r - l), static_cast<std::int32_t>(b - t),
                                view.pitch});
            }
            DrawTile(view, tiles, tile, row, Document.FieldWidth, Document.FieldHeight, left, top);
        }
    }
}

// At the other scales each view pixel is worked out: enlarged, the map pixel it shows;
// reduced, the mean of up to 4 x 4 map pixels spread evenly over the block it covers.
void DrawFloatingScaled(const FieldRect& area, std::int32_t brush, std::int32_t row) {
    const screen::PixelView view = screen::ScreenPixels();
    const screen::PixelView tiles = screen::SpritePixels(kTileSet);
    const ViewRect shown = FieldsInView(area);
    const std::int64_t fw = Document.FieldWidth;
    const std::int64_t fh = Document.FieldHeight;
    const std::int64_t k = Reduction();
    const std::int64_t samples = std::min<std::int64_t>(k, 4);
    const std::int64_t step = k / samples;
    const std::int64_t mapRight = (std::int64_t{MapLastX()} + 1) * fw;
    const std::int64_t mapBottom = (std::int64_t{MapLastY()} + 1) * fh;
    for (std::int64_t vy = std::max<std::int64_t>(0, shown.top);
         vy <= std::min<std::int64_t>(view.height - 1, shown.bottom); ++vy) {
        std::uint32_t* out = view.Row(static_cast<std::int32_t>(vy));
        const std::int64_t my0 = MapFromView(vy, View.ScrollY);
        for (std::int64_t vx = std::max<std::int64_t>(0, shown.left);
             vx <= std::min<std::int64_t>(view.width - 1, shown.right); ++vx) {
            const std::int64_t mx0 = MapFromView(vx, View.ScrollX);
            std::uint64_t sum[3] = {0, 0, 0};
            std::uint64_t count = 0;
            bool floats = false;
            for (std::int64_t sy = 0; sy < samples; ++sy) {
                for (std::int64_t sx = 0; sx < samples; ++sx) {
                    const std::int64_t mx = mx0 + sx * step;
                    const std::int64_t my = my0 + sy * step;
                    std::uint32_t pixel = static_cast<std::uint32_t>(kViewBackground);
                    if (mx >= 0 && my >= 0 && mx < mapRight && my < mapBottom) {
                        const auto fx = static_cast<std::int32_t>(mx / fw);
                        const auto fy = static_cast<std::int32_t>(my / fh);
                        std::int32_t tile = 0;
                        if (FloatingTileAt(fx, fy, brush, &tile)) {
                            floats = true;
                        } else {
                            tile = Document.Fields(fx, fy);
                        }
                        const TileOrigin origin =
                            TileClipOrigin(tile, row, Document.FieldWidth, Document.FieldHeight);
                        pixel = TilePixel(tiles, origin.x + mx % fw, origin.y + my % fh);
                    }
                    sum[0] += pixel & 0xFF;
                    sum[1] += (pixel >> 8) & 0xFF;
                    sum[2] += (pixel >> 16) & 0xFF;
                    ++count;
                }
            }
            if (!floats) continue;  // the map's own picture stays
            const auto mean = [&](int c) {
                return static_cast<std::uint32_t>((sum[c] + count / 2) / count);
            };
            out[vx] = mean(0) | (mean(1) << 8) | (mean(2) << 16);
        }
    }
}

}  // namespace

void DrawDashedFrame(const screen::PixelView& view, std::int64_t left0, std::int64_t top0,
                     std::int64_t right0, std::int64_t bottom0) {
    const ViewRect r{left0, top0, right0, bottom0};
    std::int64_t along = 0;
    const auto plot = [&](std::int64_t x, std::int64_t y) {
        const std::uint32_t colour = (along++ / kDash) % 2 == 0 ? kFrameDark : kFrameLight;
        if (x >= 0 && y >= 0 && x < view.width && y < view.height) {
            view.Row(static_cast<std::int32_t>(y))[x] = colour;
        }
    };
    // Only the part near the view is walked: a frame around the whole map may be huge.
    const std::int64_t left = std::max<std::int64_t>(r.left, -kDash * 2);
    const std::int64_t right = std::min<std::int64_t>(r.right, view.width + kDash * 2);
    const std::int64_t top = std::max<std::int64_t>(r.top, -kDash * 2);
    const std::int64_t bottom = std::min<std::int64_t>(r.bottom, view.height + kDash * 2);
    if (r.top >= top) {
        along = left - r.left;
        for (std::int64_t x = left; x <= right; ++x) plot(x, r.top);
    }
    if (r.bottom <= bottom) {
        along = left - r.left;
        for (std::int64_t x = left; x <= right; ++x) plot(x, r.bottom);
    }
    if (r.left >= left) {
        along = top - r.top;
        for (std::int64_t y = top; y <= bottom; ++y) plot(r.left, y);
    }
    if (r.right <= right) {
        along = top - r.top;
        for (std::int64_t y = top; y <= bottom; ++y) plot(r.right, y);
    }
}

void DrawFloatingFields() {
    if (Selection.Floats == Floating::None || Document.FieldWidth < 1 || Document.FieldHeight < 1) {
        return;
    }
    const std::int32_t brush = gui::GadgetGetState(kBrushBar);
    const std::int32_t row = gui::GadgetGetState(kZMaskBox);
    const FieldRect areas[] = {Selection.Floats == Floating::Move ? Selection.Lifted : FieldRect{},
                               FloatingRect()};
    for (const FieldRect& area : areas) {
        if (area.Empty()) continue;
        if (View.ZoomLevel == 0) {
            DrawFloatingOneToOne(area, brush, row);
        } else {
            DrawFloatingScaled(area, brush, row);
        }
    }
}

void DrawSelectionFrame() {
    if (Document.FieldWidth < 1 || Document.FieldHeight < 1) return;
    const FieldRect selected =
        Selection.Floats != Floating::None ? FloatingRect() : Selection.Selected;
    // The rectangle "Rechteck" will fill, while its drag lasts.
    const FieldRect spanned = Tools.Spanning ? Tools.Spanned : FieldRect{};
    for (const FieldRect& rect : {selected, spanned}) {
        if (rect.Empty()) continue;
        const ViewRect r = FieldsInView(rect);
        DrawDashedFrame(screen::ScreenPixels(), r.left, r.top, r.right, r.bottom);
    }
}

}  // namespace editor
