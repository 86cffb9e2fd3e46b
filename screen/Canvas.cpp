// The canvas table, opening and closing, selection for drawing and showing.
#include "screen/Canvas.h"

#include <memory>

#include "platform/Surface.h"
#include "runtime/ObjectTable.h"
#include "screen/PixelBuffer.h"
#include "screen/ScreenInternal.h"

namespace screen {
namespace {

struct CanvasRecord {
    std::unique_ptr<PixelBuffer> pixels;
    std::intptr_t window = 0;
    bool InUse() const { return pixels != nullptr; }
};

std::unique_ptr<runtime::ObjectTable<CanvasRecord>> gCanvases;

CanvasRecord* Lookup(std::int32_t number) {
    return gCanvases != nullptr ? gCanvases->Lookup(number) : nullptr;
}

// Drawing goes back to the back buffer if it was on this canvas.
void Deselect(const CanvasRecord& record) {
    if (internal::CurrentCanvas() == record.pixels.get()) internal::DrawOnCanvas(nullptr);
}

}  // namespace

namespace internal {

void CanvasFreeAll() {
    if (gCanvases != nullptr) gCanvases->FreeAll();
}

}  // namespace internal

std::intptr_t CanvasOpen(std::int32_t number, std::intptr_t window, std::int32_t x, std::int32_t y,
                         std::int32_t width, std::int32_t height) {
    if (!internal::ScreenActive()) return 0;
    if (gCanvases == nullptr) {
        gCanvases =
            std::make_unique<runtime::ObjectTable<CanvasRecord>>(4, [](int n) { CanvasClose(n); });
    }
    int identifier = 0;
    CanvasRecord* record = gCanvases->GetOrCreate(number, &identifier);
    if (record == nullptr) return 0;
    auto pixels = std::make_unique<PixelBuffer>();
    platform::PicturePlacement placement;
    placement.x = x;
    placement.y = y;
    placement.width = width;
    placement.height = height;
    if (!pixels->Allocate(width, height) || !platform::SurfaceAttach(window, placement)) {
        gCanvases->Free(identifier);
        return 0;
    }
    record->pixels = std::move(pixels);
    record->window = window;
    return number == -1 ? identifier : reinterpret_cast<std::intptr_t>(record->pixels.get());
}

void CanvasClose(std::int32_t number) {
    CanvasRecord* record = Lookup(number);
    if (record == nullptr) return;
    Deselect(*record);
    platform::SurfaceDetach(record->window);
    gCanvases->Free(number);
}

std::int32_t CanvasDrawOn(std::int32_t number) {
    CanvasRecord* record = Lookup(number);
    if (record == nullptr || !internal::ScreenActive()) return 0;
    internal::DrawOnCanvas(record->pixels.get());
    return 1;
}

void CanvasShow(std::int32_t number) {
    CanvasRecord* record = Lookup(number);
    if (record == nullptr) return;
    Deselect(*record);
    const PixelBuffer& pixels = *record->pixels;
    platform::SurfacePresent(record->window, pixels.Data(), pixels.Width(), pixels.Height(),
                             pixels.Pitch());
}

}  // namespace screen
