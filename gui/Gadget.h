// Gadgets: the numbered child controls of a window (frames, texts, text fields, track bars,
// check boxes). User actions on them arrive as EVENT_GADGET with the gadget number and an
// event type (see Window.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "gui/Window.h"

namespace gui {

// Style bits of the creation operations.
inline constexpr std::int32_t STRING_DIGITS_ONLY = 8192;
inline constexpr std::int32_t TRACKBAR_TICKS = 1;
inline constexpr std::int32_t TRACKBAR_VERTICAL = 2;
// Frame styles of GadgetFrame (any other style is a line).
inline constexpr std::int32_t FRAME_GROUP = 0;
inline constexpr std::int32_t FRAME_SUNKEN = 1;
inline constexpr std::int32_t FRAME_THIN_SUNKEN = 2;

// Start-up step.
void GadgetLibraryInit();

// New gadgets go into this window. Returns the handle.
WindowHandle GadgetListCreate(WindowHandle window);

// Creation: number -1 takes the next free number. Results: the control's handle, with -1
// the new identifier, 0 when the platform refuses (then a gadget that had the number stays).
// Frame styles (FRAME_): a group box with the text as caption, sunken, a thin sunken edge, other:
// a line. Frames other than group boxes never paint their inside.
std::intptr_t GadgetFrame(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w,
                          std::int32_t h, std::string_view text, std::int32_t style = 0);
// flags: alignment bits; 0x20000 adds a sunken border.
std::intptr_t GadgetText(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w,
                         std::int32_t h, std::string_view text, std::int32_t flags = 0);
// flags: 8192 digits only; 0x20000 removes the border; other edit style bits.
std::intptr_t GadgetString(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w,
                           std::int32_t h, std::string_view text, std::int32_t flags = 0);
// flags: 1 tick marks at every value, 2 vertical. Negative bounds count as 0.
std::intptr_t GadgetTrackBar(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w,
                             std::int32_t h, std::int32_t minimum, std::int32_t maximum,
                             std::int32_t flags);
std::intptr_t GadgetCheckBox(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w,
                             std::int32_t h, std::string_view text, std::int32_t flags = 0);

// State: a track bar's position (a vertical one mirrored so that its top is the maximum), a
// check box's 1 / 0; 0 and nothing for other kinds or no such gadget.
std::int32_t GadgetGetState(std::int32_t number);
void GadgetSetState(std::int32_t number, std::int32_t state);
// A track bar's range (negative bounds count as 0); its position is kept inside the range.
// Nothing for other kinds or no such gadget.
void GadgetSetRange(std::int32_t number, std::int32_t minimum, std::int32_t maximum);
// Text: a frame's caption, a label's text, a field's content. Setting a field's text raises
// its change notification at once (type 768).
std::string GadgetGetText(std::int32_t number);
void GadgetSetText(std::int32_t number, std::string_view text);
// Left and top edge in the window's client area; 0 for no such gadget.
std::int32_t GadgetX(std::int32_t number);
std::int32_t GadgetY(std::int32_t number);

// The control handle of gadget `number`, 0 for none.
std::intptr_t GadgetHandleOf(std::int32_t number);
// True while gadget `number` has the keyboard focus.
bool GadgetHasFocus(std::int32_t number);

}  // namespace gui
