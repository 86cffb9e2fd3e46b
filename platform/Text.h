// The text rasterizer: fonts matched by face name, and text drawn into 32-bit pixel arrays.
//
// Font heights follow the usual convention of the platform we stand in for: a negative height
// asks for a character height (the em size) of that many pixels, a positive one for a cell
// height (ascent + descent), 0 for a default size. Texts are CP1252 bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// A font; 0 is never a font, and a deleted font's handle is never handed out again.
using TextFont = std::intptr_t;

struct TextFontStyle {
    std::int32_t weight = 400;  // 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool smooth = false;  // anti-aliased edges; otherwise every glyph pixel is the text colour
};

// A 32-bit pixel array (B, G, R, 0 in memory); pitch in pixels.
struct TextTarget {
    std::uint32_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t pitch = 0;
};

// Makes a font; an unknown face gets the closest installed one. 0 on failure (including a
// height beyond 32767 pixels either way).
TextFont TextFontCreate(std::string_view cp1252Face, std::int32_t height,
                        const TextFontStyle& style);

// Deletes a font made by TextFontCreate; other values are ignored.
void TextFontDelete(TextFont font);

// True for a font that TextFontCreate made and that is not deleted, and for the system font.
bool TextFontValid(TextFont font);

// The font used when none is selected: a bold sans-serif with 16-pixel cells. Never deleted.
TextFont TextSystemFont();

// What a font turned out to be, for callers that check the matching.
struct TextFontInfo {
    std::string family;           // the installed family the toolkit matched (UTF-8)
    std::int32_t emHeight = 0;    // character height in pixels
    std::int32_t cellHeight = 0;  // ascent + descent in pixels
    std::int32_t weight = 0;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    bool fixedPitch = false;  // every character has the same advance
};

// Describes a valid font; an invalid one gives an empty description.
TextFontInfo TextFontDescribe(TextFont font);

// Width of the text's advance and the cell height of the font. An invalid font counts as the
// system font.
std::int32_t TextWidth(TextFont font, std::string_view cp1252Text);
std::int32_t TextCellHeight(TextFont font);

// Draws the text with its cell's top-left corner at (x, y), in colour rgb (0x00RRGGBB). When
// opaque, the cell box (advance x cell height) is filled with backgroundRgb first. Pixels
// outside the array are left alone; every written pixel keeps 0 in its fourth byte. Returns
// the advance width.
std::int32_t TextDraw(const TextTarget& target, TextFont font, std::int32_t x, std::int32_t y,
                      std::string_view cp1252Text, std::uint32_t rgb, bool opaque,
                      std::uint32_t backgroundRgb);

}  // namespace platform
