// Fonts and 2D drawing on a drawing target (the screen's back buffer, from ScreenOutput).
//
// Fonts are numbered objects made from a face name, a size in points (at 96 dots per inch)
// and style bits. Between DrawingStart and DrawingStop, boxes, circles, lines and text are
// drawn in one front colour (0x00BBGGRR) under a few mode bits; outside a drawing every
// operation does nothing. Shapes are rasterised here, text by the platform.
#pragma once

#include <cstdint>
#include <string_view>

#include "screen/DrawingTarget.h"

namespace screen {

// Style bits of FontLoad.
inline constexpr std::int32_t kFontUnderline = 4;
inline constexpr std::int32_t kFontStrikeOut = 8;
inline constexpr std::int32_t kFontHighQuality = 16;  // smoothed glyph edges
inline constexpr std::int32_t kFontBold = 256;
inline constexpr std::int32_t kFontItalic = 512;

// Drawing mode bits.
inline constexpr std::int32_t kDrawTransparent = 1;  // text without its background
inline constexpr std::int32_t kDrawInvert = 2;       // shapes and lines invert what they cover
inline constexpr std::int32_t kDrawOutlined = 4;     // shapes are not filled

// The font table. Start-up and shut-down steps; the end frees every font.
void FontLibraryInit();
void FontLibraryEnd();

// Makes a font: the handle for DrawingFont (the identifier for number -1), 0 on failure.
std::intptr_t FontLoad(std::int32_t number, std::string_view face, std::int32_t pointSize,
                       std::int32_t style);
void FontFree(std::int32_t number);

// Character height in pixels of a size in points: rounded, at 96 dots per inch.
std::int32_t FontPixelHeight(std::int32_t pointSize);

// Clears the drawing state. Start-up step.
void DrawingLibraryInit();

// Ends a drawing in progress, then starts one on the target: black, mode 0, no font chosen
// (the system font). The target's context handle, 0 when the target has none.
std::intptr_t DrawingStart(DrawingTarget* target);
void DrawingStop();

void DrawFrontColor(std::int32_t colour);
void DrawingMode(std::int32_t mode);

// Columns x .. x + w - 1, rows y .. y + h - 1. A 1 x 1 box sets one pixel in the front colour
// in every mode.
void DrawBox(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h);

// The circle in the box x - r .. x + r - 1, y - r .. y + r - 1; radius 1 is one pixel.
void DrawCircle(std::int32_t x, std::int32_t y, std::int32_t radius);

// Both end points included; the last one is always set in the front colour.
void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2);

// Text with its top-left corner at (x, y). Returns the x just right of it (x for an empty
// text, 0 when no drawing is in progress).
std::int32_t DrawText(std::int32_t x, std::int32_t y, std::string_view text);

// Selects a font by its FontLoad handle; -1 selects the system font. A value that is no font
// leaves the selection as it was.
void DrawingFont(std::intptr_t font);

}  // namespace screen
