// The font table: numbered fonts over the platform's text rasterizer.
#include <algorithm>
#include <memory>

#include "platform/Text.h"
#include "runtime/ObjectTable.h"
#include "screen/Drawing.h"

namespace screen {

namespace {

// Pixels are shown 1:1, so sizes in points are taken at the desktop's usual 96 dots per inch.
constexpr std::int64_t kDotsPerInch = 96;

struct FontRecord {
    platform::TextFont font = 0;
    bool InUse() const { return font != 0; }
};

using FontTable = runtime::ObjectTable<FontRecord>;

std::unique_ptr<FontTable> gFonts;

// a * b / c rounded to the nearest integer, halves away from zero; -1 when it does not fit.
std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
    if (c == 0) return -1;
    const std::int64_t product = std::int64_t{a} * b;
    const bool negative = (product < 0) != (c < 0);
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = c < 0 ? -std::int64_t{c} : c;
    const std::int64_t quotient = (magnitude + divisor / 2) / divisor;
    if (quotient > INT32_MAX) return -1;
    return static_cast<std::int32_t>(negative ? -quotient : quotient);
}

}  // namespace

void FontLibraryInit() {
    if (gFonts != nullptr) gFonts->FreeAll();
    gFonts = std::make_unique<FontTable>(16, [](int number) { FontFree(number); });
}

void FontLibraryEnd() {
    if (gFonts != nullptr) gFonts->FreeAll();
}

std::int32_t FontPixelHeight(std::int32_t pointSize) { return MulDiv(pointSize, kDotsPerInch, 72); }

std::intptr_t FontLoad(std::int32_t number, std::string_view face, std::int32_t pointSize,
                       std::int32_t style) {
    if (gFonts == nullptr) return 0;
    int identifier = 0;
    FontRecord* record = gFonts->GetOrCreate(number, &identifier);
    if (record == nullptr) return 0;
    platform::TextFontStyle textStyle;
    textStyle.weight = (style & kFontBold) != 0 ? 700 : 400;
    textStyle.italic = (style & kFontItalic) != 0;
    textStyle.underline = (style & kFontUnderline) != 0;
    textStyle.strikeOut = (style & kFontStrikeOut) != 0;
    textStyle.smooth = (style & kFontHighQuality) != 0;
    // Negative: a character height, not a cell height.
    const platform::TextFont font =
        platform::TextFontCreate(face, -FontPixelHeight(pointSize), textStyle);
    if (font == 0) {
        gFonts->Free(identifier);
        return 0;
    }
    record->font = font;
    return number == -1 ? identifier : font;
}

void FontFree(std::int32_t number) {
    if (gFonts == nullptr) return;
    FontRecord* record = gFonts->Lookup(number);
    if (record == nullptr) return;
    platform::TextFontDelete(record->font);
    gFonts->Free(number);
}

}  // namespace screen
