// A plain window for tests that show pictures, on either backend: a window to attach a
// presentation surface to, shown, hidden and resized as a user's desktop would, and a look at
// what its client area shows. tests/support/qt/ and tests/support/win32/ hold the two sides.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "support/Picture.h"

namespace testing_support {

// What a client area shows.
using ShownPicture = Picture;

class TestWindow {
public:
    // A hidden window whose client area is width x height.
    TestWindow(int width, int height);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    // The handle that the presentation surface takes.
    std::intptr_t Handle() const;
    void Show();
    void Hide();
    void Resize(int width, int height);
    // How many windows the toolkit keeps inside it (a surface is one).
    int ChildCount() const;
    // What it shows once the toolkit has done what waits.
    ShownPicture Grab();

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
};

// What the client area of a window of the platform layer shows (its handle, as
// gui::WindowHandleOf gives it), with its waiting paints done; input waiting for the program
// stays where it is.
ShownPicture GrabClient(std::intptr_t window);

// Lets the toolkit do what waits (paints, moves) now.
void ProcessEvents();

}  // namespace testing_support
