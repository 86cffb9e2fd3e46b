// The sprite table, creation, loading and conversion, clipping and display.
#include "screen/Sprite.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "platform/Surface.h"
#include "runtime/File.h"
#include "runtime/ObjectTable.h"
#include "screen/ImageRows.h"
#include "screen/ScreenInternal.h"
#include "screen/SpriteRules.h"

namespace screen {

namespace {

// The pixels, the clip rectangle and the full size. (The creation mode is always the default
// one, and surfaces are never lost here, so no backup of the pixels is kept.)
struct SpriteRecord {
    std::unique_ptr<PixelBuffer> surface;  // in use while there are pixels
    SpriteClipRect clip;
    std::int16_t width = 0;
    std::int16_t height = 0;

    bool InUse() const { return surface != nullptr; }
};

using SpriteTable = runtime::ObjectTable<SpriteRecord>;

std::unique_ptr<SpriteTable> gSprites;

std::intptr_t Result(std::int32_t number, std::int32_t identifier, const SpriteRecord& record) {
    return number == -1 ? identifier : reinterpret_cast<std::intptr_t>(record.surface.get());
}

// Gives a record that never got its pixels back to the table.
void Discard(std::int32_t identifier) {
    if (SpriteRecord* record = gSprites->Lookup(identifier)) record->surface.reset();
    gSprites->Free(identifier);
}

// Fills the record for a w x h image of `depth` bits (0: the display's own) and makes its
// black pixels. False when the display cannot take such an image or memory is short.
bool MakeSurface(SpriteRecord& record, std::int32_t w, std::int32_t h, std::int32_t depth) {
    record = SpriteRecord{};
    const std::int32_t screenDepth = internal::ScreenDepth();
    if (depth != 0 && depth != screenDepth && (depth < 16 || screenDepth < 16)) return false;
    auto surface = std::make_unique<PixelBuffer>();
    if (!surface->Allocate(w, h)) return false;
    record.surface = std::move(surface);
    record.width = static_cast<std::int16_t>(w);
    record.height = static_cast<std::int16_t>(h);
    record.clip = {0, 0, record.width, record.height};
    return true;
}

// Reads the image and converts it into the record's pixels.
bool Decode(SpriteRecord& record, std::span<const std::uint8_t> data) {
    ImageRows image;
    return ReadImageRows(data, internal::ScreenDepth(), image) &&
           MakeSurface(record, image.width, image.height, image.depth) &&
           ConvertImageRows(image, *record.surface, platform::kPictureDepth,
                            internal::ScreenPixelFormat());
}

}  // namespace

namespace internal {

void SpriteTableCreate() {
    if (gSprites != nullptr) gSprites->FreeAll();
    gSprites = std::make_unique<SpriteTable>(64, [](int number) { SpriteFree(number); });
}

void SpriteFreeAll() {
    if (gSprites != nullptr) gSprites->FreeAll();
}

}  // namespace internal

std::intptr_t SpriteCreate(std::int32_t number, std::int32_t width, std::int32_t height) {
    if (gSprites == nullptr) return 0;
    int identifier = 0;
    SpriteRecord* record = gSprites->GetOrCreate(number, &identifier);
    if (record == nullptr) return 0;
    if (!MakeSurface(*record, width, height, internal::ScreenDepth())) {
        Discard(identifier);
        return 0;
    }
    return Result(number, identifier, *record);
}

std::intptr_t SpriteLoad(std::int32_t number, std::string_view fileName) {
    if (gSprites == nullptr) return 0;
    std::vector<std::uint8_t> data;
    try {
        if (runtime::FileReadWhole(fileName, data) != runtime::WholeFile::Read) return 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return SpriteLoadMemory(number, data);
}

std::intptr_t SpriteLoadMemory(std::int32_t number, std::span<const std::uint8_t> data) {
    if (gSprites == nullptr) return 0;
    int identifier = 0;
    SpriteRecord* record = gSprites->GetOrCreate(number, &identifier);
    if (record == nullptr) return 0;
    if (!Decode(*record, data)) {
        Discard(identifier);
        return 0;
    }
    return Result(number, identifier, *record);
}

void SpriteClip(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t width,
                std::int32_t height) {
    if (gSprites == nullptr) return;
    SpriteRecord* record = gSprites->Lookup(number);
    if (record == nullptr) return;
    if (x == -1 && y == -1 && width == -1 && height == -1) {
        record->clip = {0, 0, record->width, record->height};
        return;
    }
    record->clip = ClipRectangle(x, y, width, height, record->width, record->height);
}

void SpriteDisplay(std::int32_t number, std::int32_t x, std::int32_t y) {
    if (gSprites == nullptr) return;
    const SpriteRecord* record = gSprites->Lookup(number);
    if (record == nullptr) return;
    PixelBuffer* target = internal::BlitTarget();
    if (target == nullptr) return;
    const std::optional<SpriteBlit> blit = DisplayBlit(
        record->clip, x, y, target->Width(), target->Height(), record->width, record->height);
    if (blit) CopyBlit(*blit, *record->surface, target->Data(), target->Pitch());
}

std::int32_t SpriteWidth(std::int32_t number) {
    if (gSprites == nullptr) return 0;
    const SpriteRecord* record = gSprites->Lookup(number);
    return record != nullptr ? record->clip.width : 0;
}

PixelView SpritePixels(std::int32_t number) {
    if (gSprites == nullptr) return {};
    const SpriteRecord* record = gSprites->Lookup(number);
    if (record == nullptr) return {};
    PixelBuffer& pixels = *record->surface;
    return PixelView{pixels.Data(), pixels.Width(), pixels.Height(), pixels.Pitch()};
}

void SpriteFree(std::int32_t number) {
    if (gSprites == nullptr) return;
    SpriteRecord* record = gSprites->Lookup(number);
    if (record == nullptr) return;
    record->surface.reset();
    gSprites->Free(number);
}

}  // namespace screen
