// What the window library shares with gadgets, menus, status bars and focus navigation.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Ui.h"

namespace gui::detail {

// Property names on platform windows.
inline constexpr const char* kWindowNumberProperty = "WindowNumber";  // number + 1
inline constexpr const char* kGadgetNumberProperty = "GadgetNumber";

// The runtime window number of a platform window or of the window holding a control: the
// first window up the parent chain that carries the number property; -1 when there is none.
std::int32_t WindowNumberOf(platform::Handle handle);
// The nearest ancestor with the number property, or the topmost ancestor.
platform::Handle TopLevelOf(platform::Handle handle);

// Offers a message about a control to its gadget's kind; true when the kind handled it.
bool GadgetOfferMessage(platform::Handle window, std::uint32_t message, std::uintptr_t wParam,
                        std::intptr_t lParam, std::intptr_t* result);

// Moves the keyboard focus to the next or previous control of the active window.
void FocusForward();
void FocusBackward();

// A runtime text argument: a default-constructed view means "no text"; text ends at a zero.
inline bool HasText(std::string_view text) { return text.data() != nullptr; }

}  // namespace gui::detail
