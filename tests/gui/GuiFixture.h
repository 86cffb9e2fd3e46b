// A started runtime with the window libraries, and helpers to read the event stream.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "gui/Gadget.h"
#include "gui/Gui.h"
#include "gui/Window.h"
#include "platform/Ui.h"
#include "runtime/Runtime.h"
#include "support/GuiInput.h"

namespace testing_support {

// One fetched event with what the event state said about it.
struct Fetched {
    int code;
    int object;
    int type;
    bool operator==(const Fetched&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Fetched& f) {
    return out << "{" << f.code << ", " << f.object << ", " << f.type << "}";
}

// A top-level window's outer rectangle on the screen.
inline platform::Rect Frame(std::int32_t window) {
    platform::Rect rect;
    platform::GetWindowRect(gui::WindowHandleOf(window), &rect);
    return rect;
}

// The size of a window's client area or of a control, as a point (width, height).
inline Point ClientSize(platform::Handle handle) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    platform::GetClientSize(handle, &width, &height);
    return {width, height};
}

// A control's rectangle in its window's client area.
inline platform::Rect InClient(std::int32_t window, platform::Handle control) {
    platform::Rect rect;
    platform::GetWindowRect(control, &rect);
    std::int32_t x = 0;
    std::int32_t y = 0;
    platform::ScreenToClient(gui::WindowHandleOf(window), &x, &y);
    return {rect.left + x, rect.top + y, rect.right + x, rect.bottom + y};
}

class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        gui::GuiInstall();
        runtime::RuntimeStart();
        ParkCursor();
    }
    void TearDown() override { runtime::RuntimeEnd(); }

    // Every event that is there now, without waiting.
    static std::vector<int> DrainCodes() {
        std::vector<int> codes;
        for (int code = gui::WindowEventFetch(0); code != 0; code = gui::WindowEventFetch(0)) {
            codes.push_back(code);
        }
        return codes;
    }

    static std::vector<Fetched> Drain() {
        std::vector<Fetched> events;
        for (int code = gui::WindowEventFetch(0); code != 0; code = gui::WindowEventFetch(0)) {
            events.push_back({code, gui::WindowEventGadget(), gui::WindowEventType()});
        }
        return events;
    }

    // Events without mouse moves.
    static std::vector<int> DrainWithoutMoves() {
        std::vector<int> codes;
        for (int code : DrainCodes()) {
            if (code != gui::EVENT_MOUSE_MOVE) codes.push_back(code);
        }
        return codes;
    }

    // Lets what the window system does on its own (exposure, activation) arrive, and drops it.
    static void Settle() {
        ProcessEventsFor(20);
        DrainCodes();
    }

    // Window 0, shown, active and quiet.
    static void OpenWindow(int width = 400, int height = 300, int flags = 0xCA0001) {
        ASSERT_NE(gui::WindowOpen(0, 0, 0, width, height, "Test", flags), 0);
        ASSERT_TRUE(WaitForWindow(0));
        Settle();
    }
};

}  // namespace testing_support
