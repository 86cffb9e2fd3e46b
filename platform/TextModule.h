// The C interface of the map tool's text module (libmaptool_text.so): the text rasterizer on
// Qt's offscreen platform, loaded at run time by a program that must not link Qt Gui itself.
// It never connects to a display. Only plain C types cross the boundary. Below it, the loading
// of the module by that program.
#pragma once

#include <cstdint>
#include <string>

extern "C" {

// Name of the module file and of its two entry points.
inline constexpr char kTextModuleFile[] = "libmaptool_text.so";
inline constexpr char kTextModuleDraw[] = "MapToolTextDraw";
inline constexpr char kTextModuleEnd[] = "MapToolTextEnd";

// Draws a zero-terminated CP1252 text in the system font, without background, with its cell's
// top-left corner at (x, y) of a 32-bit pixel array (B, G, R, 0; pitch in pixels), in colour
// rgb (0x00RRGGBB). Pixels outside the array are left alone. Returns the advance width.
using TextModuleDrawFn = std::int32_t (*)(std::uint32_t* pixels, std::int32_t width,
                                          std::int32_t height, std::int32_t pitch, std::int32_t x,
                                          std::int32_t y, const char* cp1252Text,
                                          std::uint32_t rgb);

// Ends the toolkit the module started. Call once, after the last draw.
using TextModuleEndFn = void (*)();
}

namespace platform {

enum class TextModuleLoadResult { Loaded, NotLoadable, NotATextModule };

// Loads the module file at `path` (UTF-8) and finds its two entry points. NotLoadable with the
// system's own reason in `reason`; NotATextModule when an entry point is missing. The module
// stays loaded to the end of the process.
TextModuleLoadResult TextModuleLoad(const std::string& path, TextModuleDrawFn& draw,
                                    TextModuleEndFn& end, std::string& reason);

// Where the program draws text itself, with no module (Windows: GDI, in platform_text), the
// draw function, as a module's.
TextModuleDrawFn TextDrawLinkedIn();

}  // namespace platform
