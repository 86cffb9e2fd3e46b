// What the window library shares with gadgets, menus, status bars and focus navigation.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

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

// A runtime text up to its first zero byte.
inline std::string_view TextOf(std::string_view text) {
    return text.substr(0, std::min(text.size(), text.find('\0')));
}

// The pieces of "a|b|c"; "" gives one empty piece.
inline std::vector<std::string_view> SplitAtBars(std::string_view text) {
    std::vector<std::string_view> parts;
    for (;;) {
        const std::size_t bar = text.find('|');
        parts.push_back(text.substr(0, bar));
        if (bar == std::string_view::npos) return parts;
        text.remove_prefix(bar + 1);
    }
}

// While a requester is open: every visible, enabled top-level window of the program except the
// foreground window (the requester's owner, which the requester itself blocks) is disabled,
// and enabled again when the scope ends.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;
    platform::Handle Owner() const { return owner_; }

private:
    platform::Handle owner_;
    std::vector<platform::Handle> disabled_;
};

}  // namespace gui::detail
