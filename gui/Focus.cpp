// Tab and Shift+Tab: moving the keyboard focus through the controls of the active window
// that are enabled, visible and tab stops, in the order of their creation, with wrap-around.
//
// Resizing a window by its frame needs no help from this library here: the toolkit keeps the
// program's event loop running while a frame is dragged.
#include <algorithm>
#include <vector>

#include "gui/WindowInternal.h"

namespace gui::detail {
namespace {

using platform::Handle;

bool TakesPart(Handle control) {
    return platform::IsWindowEnabled(control) && platform::IsWindowVisible(control) &&
           (platform::GetWindowStyle(control) & platform::WS_TABSTOP) != 0;
}

void MoveFocus(bool forward) {
    const Handle container = platform::GetActiveWindow();
    if (container == 0) return;
    const std::vector<Handle> controls = platform::ChildWindows(container);
    const Handle focus = platform::GetFocus();
    const auto at = std::find(controls.begin(), controls.end(), focus);
    const auto count = static_cast<std::ptrdiff_t>(controls.size());
    if (count == 0) return;
    // Start beside the focused control; with none focused, before the first (forwards) or
    // after the last (backwards).
    std::ptrdiff_t index = at != controls.end() ? at - controls.begin() : (forward ? -1 : count);
    for (std::ptrdiff_t step = 0; step < count; ++step) {
        index = forward ? (index + 1) % count : (index - 1 + count) % count;
        if (TakesPart(controls[static_cast<std::size_t>(index)])) {
            platform::SetFocus(controls[static_cast<std::size_t>(index)]);
            return;
        }
    }
}

}  // namespace

void FocusForward() { MoveFocus(true); }

void FocusBackward() { MoveFocus(false); }

}  // namespace gui::detail
