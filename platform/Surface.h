// The presentation surface: our 32-bit pictures shown inside a window's client area.
//
// A window is named by its handle, the address of the window's client-area widget. Attaching
// hooks the window once: a surface child sits at the picture's place and, by itself, paints
// the last picture again whenever the window is uncovered or resized, scaled when the picture
// is stretched. Presenting copies the caller's pixels, so the caller may draw on at once.
//
// Picture pixels are 32 bits, blue in the lowest byte (B, G, R, 0 in memory).
#pragma once

#include <cstdint>

namespace platform {

// Bits per pixel and colour masks of the pictures the surface takes.
inline constexpr std::int32_t kPictureDepth = 32;
inline constexpr std::uint32_t kPictureRedMask = 0x00FF0000;
inline constexpr std::uint32_t kPictureGreenMask = 0x0000FF00;
inline constexpr std::uint32_t kPictureBlueMask = 0x000000FF;

// Where a picture lies in the client area; right and bottom are exclusive.
struct PictureRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// How a picture is placed: at (x, y), 1:1, or stretched over the client area less (x, y) and
// the right and bottom margins.
struct PicturePlacement {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool stretch = false;
    std::int32_t rightMargin = 0;
    std::int32_t bottomMargin = 0;
};

// The picture's rectangle in a client area of the given size.
PictureRect PlacePicture(const PicturePlacement& placement, std::int32_t clientWidth,
                         std::int32_t clientHeight);

// True when a display is there to show pictures on (starts the toolkit if needed).
bool DisplayAvailable();

// Hooks the window (once per window; a second attach reuses the hook) and places the picture.
// Until the first present the surface shows black. False when the handle names no window.
bool SurfaceAttach(std::intptr_t window, const PicturePlacement& placement);

// Copies a width x height picture (pitch in pixels) and shows it now. Does nothing for a
// window that is not attached.
void SurfacePresent(std::intptr_t window, const std::uint32_t* pixels, std::int32_t width,
                    std::int32_t height, std::int32_t pitch);

// Takes the picture away; the window repaints itself without it. The hook stays, so a later
// attach on the same window uses it again.
void SurfaceDetach(std::intptr_t window);

}  // namespace platform
