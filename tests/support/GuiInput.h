// A user's input for tests of windows and gadgets: clicks, keys, drags and cursor moves,
// injected where the toolkit's own input arrives, so that they take the same path as real
// input. The same calls on both backends: tests/support/qt/GuiInput.cpp gives them to the
// top-level QWindow (run with QT_QPA_PLATFORM=offscreen), tests/support/win32/GuiInput.cpp to
// the system's input queue.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace testing_support {

// A point of a window's client area.
class Point {
public:
    constexpr Point() = default;
    constexpr Point(int x, int y) : x_(x), y_(y) {}
    constexpr int x() const { return x_; }
    constexpr int y() const { return y_; }
    constexpr bool operator==(const Point&) const = default;
    constexpr Point operator+(Point other) const { return {x_ + other.x_, y_ + other.y_}; }
    constexpr Point operator-(Point other) const { return {x_ - other.x_, y_ - other.y_}; }
    // Rounded to the nearest point, halves up.
    constexpr Point operator/(int divisor) const {
        return {Half(2 * x_, divisor), Half(2 * y_, divisor)};
    }

private:
    static constexpr int Half(int twice, int divisor) {
        const int doubled = twice / divisor;  // twice the quotient, truncated
        const int floor = (twice % divisor != 0 && (twice < 0) != (divisor < 0)) ? doubled - 1
                                                                                   : doubled;
        return floor >= 0 ? (floor + 1) / 2 : -((-floor) / 2);
    }
    int x_ = 0;
    int y_ = 0;
};

enum class Button { Left, Right, Middle };

// Keys held with a click, a turn of the wheel or a key press.
using Modifiers = unsigned;
inline constexpr Modifiers kNoModifier = 0;
inline constexpr Modifiers kShift = 1;
inline constexpr Modifiers kControl = 2;
inline constexpr Modifiers kAlt = 4;

// Keys are the gui library's KEYCODE_* (the system's virtual keys): 'A'..'Z', '0'..'9' and
// these, which the library has no name for.
inline constexpr int kKeyTab = 0x09;
inline constexpr int kKeySpace = 0x20;
inline constexpr int kKeyEnd = 0x23;
inline constexpr int kKeyHome = 0x24;
inline constexpr int kKeyF4 = 0x73;

// Waits until the window is shown and active, as a user would find it.
bool WaitForWindow(std::int32_t window);
// Makes a window the active one again (after a requester closed) and waits for it.
bool ActivateWindow(std::int32_t window);
// Lets the toolkit do what waits, for `ms` milliseconds (at least once).
void ProcessEventsFor(int ms);
// Calls `action` after `ms` milliseconds, from the toolkit's event processing.
void RunLater(int ms, std::function<void()> action);

void MouseMove(std::int32_t window, Point client);
void Click(std::int32_t window, Point client, Button button = Button::Left,
           Modifiers modifiers = kNoModifier);
void Press(std::int32_t window, Point client, Button button = Button::Left);
void Release(std::int32_t window, Point client, Button button = Button::Left);
void DoubleClick(std::int32_t window, Point client);
// A release far outside every window, as after a drag out of the program.
void ReleaseOutside(std::int32_t window);
// Separate clicks never make a double click; this lets the next press count as the second
// click of one (within the time) and `false` ends that again.
void NextPressWithinDoubleClickTime(bool within);
// A turn of the wheel over a client point: 120 a notch, positive away from the user; for the
// horizontal wheel positive to the left, as the Qt toolkit counts it.
void Wheel(std::int32_t window, Point client, int delta, Modifiers modifiers = kNoModifier,
           bool horizontal = false);
void Key(std::int32_t window, int key, Modifiers modifiers = kNoModifier);
// Types the characters of `text` (ASCII) one key at a time.
void Type(std::int32_t window, const std::string& text);
// The close box of a window's frame.
void CloseBox(std::int32_t window);
// Puts the global cursor on a client point of a window.
void CursorTo(std::int32_t window, Point client);
// Puts the global cursor in the screen's bottom-right corner, where no test places a window,
// before any window is open. A move to where the cursor already is moves nothing and the
// system reports none, so no test may find the cursor where the one before left it.
void ParkCursor();

// The centre of a gadget in its window's client area.
Point GadgetCentre(std::int32_t gadget);
void ClickGadget(std::int32_t window, std::int32_t gadget);
// Where a track bar gadget's handle is, in its window's client area, for a value.
Point TrackBarHandle(std::int32_t gadget, int value);
// Chooses a menu item as a user does: a click on the bar's title, then one on the item. Both
// are named in UTF-8, the item without the shortcut shown after a tab.
bool ChooseMenuItem(std::int32_t window, const std::string& title, const std::string& item);
// True while a drop-down menu of the program is open.
bool MenuIsOpen();
// True while a requester of the program is open.
bool RequesterIsOpen();
// Closes a drop-down menu that is still open.
void CloseOpenMenu();
// For every drop-down that holds an item with this text (UTF-8), whether it shows enabled.
std::vector<bool> MenuItemShownEnabled(std::int32_t window, const std::string& item);
// The texts of the items of every drop-down of a window's menu bar, in order, as shown (UTF-8,
// a shortcut after a tab), separators left out.
std::vector<std::string> MenuItemTexts(std::int32_t window);
// The height of the menu bar a window shows, 0 when it shows none.
int MenuBarHeight(std::int32_t window);

// A window's title as it shows it (UTF-8).
std::string WindowTitle(std::int32_t window);
// What a window's frame shows and allows.
bool HasCaption(std::int32_t window);
bool IsMaximised(std::int32_t window);
bool IsSizable(std::int32_t window);
// The window system's own doings: a maximised window restored, a window hidden and shown
// again (waiting until it is exposed), the window uncovered, the user making it bigger.
void Restore(std::int32_t window);
void HideWindow(std::int32_t window);
bool ShowWindowAgain(std::int32_t window);
void Expose(std::int32_t window);
void GrowWindow(std::int32_t window, int byWidth, int byHeight);
// The user moving a window so that its frame's corner lies `offset` from another's.
void MoveWindowOver(std::int32_t window, std::int32_t other, Point offset);
// Hides a control as the toolkit would, behind the program's back.
void HideControl(std::intptr_t control);

// Counts the paints of a control while it lives.
class PaintCount {
public:
    explicit PaintCount(std::intptr_t control);
    ~PaintCount();
    PaintCount(const PaintCount&) = delete;
    PaintCount& operator=(const PaintCount&) = delete;
    int Paints() const { return paints_; }

private:
    std::intptr_t control_;
    int paints_ = 0;
    void* hook_ = nullptr;
};

}  // namespace testing_support
