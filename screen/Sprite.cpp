// The sprite table, creation, loading and conversion, clipping and display.
#include "screen/Sprite.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/PlatformFile.h"
#include "platform/Surface.h"
#include "runtime/ObjectTable.h"
#include "screen/BmpReader.h"
#include "screen/ImageDecoder.h"
#include "screen/PixelConversion.h"
#include "screen/ScreenInternal.h"

namespace screen {

namespace {

// The pixels, the clip rectangle and the full size. (The creation mode is always the default
// one, and surfaces are never lost here, so no backup of the pixels is kept.)
struct SpriteRecord {
    std::unique_ptr<PixelBuffer> surface;  // in use while there are pixels
    std::int16_t clipWidth = 0;
    std::int16_t clipHeight = 0;
    std::int16_t width = 0;
    std::int16_t height = 0;
    std::int16_t clipX = 0;
    std::int16_t clipY = 0;

    bool InUse() const { return surface != nullptr; }
};

using SpriteTable = runtime::ObjectTable<SpriteRecord>;

std::unique_ptr<SpriteTable> gSprites;

// Values beyond 16 bits are held at the nearest 16-bit value, so a clip far outside the sprite
// stays outside instead of wrapping back into it.
std::int16_t Clamp16(std::int64_t value) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(value, INT16_MIN, INT16_MAX));
}

// Copies a block of pixel rows. Tile rows are short (a few hundred bytes), so copying them in
// 64-byte pieces inline beats a library call per row.
void CopyRows(std::uint32_t* to, std::ptrdiff_t toPitch, const std::uint32_t* from,
              std::ptrdiff_t fromPitch, std::size_t count, std::int64_t rows) {
    for (std::int64_t row = 0; row < rows; ++row, to += toPitch, from += fromPitch) {
        std::uint32_t* t = to;
        const std::uint32_t* f = from;
        std::size_t left = count;
        for (; left >= 16; left -= 16, t += 16, f += 16) std::memcpy(t, f, 64);
        std::memcpy(t, f, left * 4);
    }
}

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
    record.clipWidth = record.width = static_cast<std::int16_t>(w);
    record.clipHeight = record.height = static_cast<std::int16_t>(h);
    return true;
}

// Converts rows of `depth` bits into the record's pixels; bottom-up rows fill from the last
// pixel row upwards.
bool ConvertInto(SpriteRecord& record, const std::uint8_t* rows, std::int32_t rowLength,
                 std::int32_t depth, bool bottomUp) {
    PixelBuffer& pixels = *record.surface;
    for (std::int32_t i = 0; i < pixels.Height(); ++i) {
        const std::int32_t y = bottomUp ? pixels.Height() - 1 - i : i;
        if (!ConvertRow(rows + static_cast<std::size_t>(i) * rowLength, depth, pixels.Width(),
                        reinterpret_cast<std::uint8_t*>(pixels.Row(y)), platform::kPictureDepth,
                        internal::ScreenPixelFormat())) {
            return false;
        }
    }
    return true;
}

bool DecodeBmp(SpriteRecord& record, std::span<const std::uint8_t> data) {
    BmpImage image;
    return ReadBmp(data, internal::ScreenDepth(), image) &&
           MakeSurface(record, image.width, image.height, image.depth) &&
           ConvertInto(record, image.rows, image.rowLength, image.depth, true);
}

bool DecodeWithDecoders(SpriteRecord& record, std::span<const std::uint8_t> data) {
    const std::int32_t answer = ImageDecoderCheck(kDecoderByteLimit, data);
    if (answer == 0) return false;
    const std::int32_t w = ImageDecoderWidth(), h = ImageDecoderHeight();
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) return false;
    const std::int32_t depth = answer == 2 ? 32 : 24;
    const std::int32_t rowLength = answer == 2 ? 4 * w : 3 * w + w % 4;
    // One spare row, as decoders may expect.
    const std::size_t size = static_cast<std::size_t>(rowLength) * (h + 1);
    std::unique_ptr<std::uint8_t, BmpImage::Free> rows(
        static_cast<std::uint8_t*>(std::calloc(size, 1)));
    if (rows == nullptr) return false;
    // A damaged image fails the load instead of showing rows that were never decoded.
    if (ImageDecoderDecode(std::span<std::uint8_t>(rows.get(), size), rowLength, 0) == 0) {
        return false;
    }
    return MakeSurface(record, w, h, depth) &&
           ConvertInto(record, rows.get(), rowLength, depth, false);
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
    const platform::FileHandle file = platform::FileOpen(fileName, platform::FileOpenMode::Read);
    if (file == 0) return 0;
    const std::int64_t size = std::max<std::int64_t>(platform::FileSize(file), 0);
    std::unique_ptr<std::uint8_t[]> data;
    try {
        data = std::make_unique_for_overwrite<std::uint8_t[]>(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        platform::FileCloseHandle(file);
        return 0;
    }
    // Decoders see only the bytes that were really read.
    const std::int64_t got = platform::FileRead(file, data.get(), size);
    platform::FileCloseHandle(file);
    return SpriteLoadMemory(
        number, std::span<const std::uint8_t>(data.get(), static_cast<std::size_t>(got)));
}

std::intptr_t SpriteLoadMemory(std::int32_t number, std::span<const std::uint8_t> data) {
    if (gSprites == nullptr) return 0;
    int identifier = 0;
    SpriteRecord* record = gSprites->GetOrCreate(number, &identifier);
    if (record == nullptr) return 0;
    const bool loaded = IsBmp(data) ? DecodeBmp(*record, data) : DecodeWithDecoders(*record, data);
    if (!loaded) {
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
        record->clipX = record->clipY = 0;
        record->clipWidth = record->width;
        record->clipHeight = record->height;
        return;
    }
    std::int64_t w = width, h = height;
    if (std::int64_t{x} + w > record->width) w = record->width - std::int64_t{x};
    if (std::int64_t{y} + h > record->height) h = record->height - std::int64_t{y};
    record->clipX = Clamp16(x);
    record->clipY = Clamp16(y);
    record->clipWidth = Clamp16(w);
    record->clipHeight = Clamp16(h);
}

void SpriteDisplay(std::int32_t number, std::int32_t x, std::int32_t y) {
    if (gSprites == nullptr) return;
    const SpriteRecord* record = gSprites->Lookup(number);
    if (record == nullptr) return;
    PixelBuffer* target = internal::BlitTarget();
    if (target == nullptr) return;
    const std::int64_t screenWidth = target->Width(), screenHeight = target->Height();
    std::int64_t w = record->clipWidth, h = record->clipHeight;
    std::int64_t left = x, top = y;
    // Wholly outside: no work at all.
    if (left >= screenWidth || top >= screenHeight || left <= -w || top <= -h) return;
    if (left + w > screenWidth) w = screenWidth - left;
    if (top + h > screenHeight) h = screenHeight - top;
    std::int64_t dx = 0, dy = 0;
    if (left < 0) {
        dx = -left;
        left = 0;
    }
    if (top < 0) {
        dy = -top;
        top = 0;
    }
    const std::int64_t sourceLeft = record->clipX + dx, sourceTop = record->clipY + dy;
    const std::int64_t sourceRight = record->clipX + w, sourceBottom = record->clipY + h;
    // A source rectangle outside the sprite (after a bad clip) copies nothing at all.
    if (sourceLeft < 0 || sourceTop < 0 || sourceRight > record->width ||
        sourceBottom > record->height || sourceLeft >= sourceRight || sourceTop >= sourceBottom) {
        return;
    }
    const PixelBuffer& pixels = *record->surface;
    CopyRows(target->Row(static_cast<std::int32_t>(top)) + left, target->Pitch(),
             pixels.Row(static_cast<std::int32_t>(sourceTop)) + sourceLeft, pixels.Pitch(),
             static_cast<std::size_t>(sourceRight - sourceLeft), sourceBottom - sourceTop);
}

std::int32_t SpriteWidth(std::int32_t number) {
    if (gSprites == nullptr) return 0;
    const SpriteRecord* record = gSprites->Lookup(number);
    return record != nullptr ? record->clipWidth : 0;
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
