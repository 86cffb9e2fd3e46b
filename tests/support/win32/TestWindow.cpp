// The test window on Windows: a top-level window of the platform layer without a procedure
// of its own. A client area is read back from its window's device context.
#include "support/TestWindow.h"

#include "platform/Ui.h"

#include <windows.h>

namespace testing_support {

struct TestWindow::Parts {
    platform::Handle window = 0;
};

namespace {

HWND Hwnd(platform::Handle handle) { return reinterpret_cast<HWND>(handle); }

}  // namespace

TestWindow::TestWindow(int width, int height) : parts_(std::make_unique<Parts>()) {
    parts_->window = platform::CreateTopWindow("", WS_CAPTION | WS_THICKFRAME,
                                               0, 0, false, width, height, nullptr);
}

TestWindow::~TestWindow() {
    platform::DestroyWindow(parts_->window);
    ProcessEvents();
}

std::intptr_t TestWindow::Handle() const { return parts_->window; }

void TestWindow::Show() {
    platform::ShowTopWindow(parts_->window, false);
    ProcessEvents();
}

void TestWindow::Hide() {
    ::ShowWindow(Hwnd(parts_->window), SW_HIDE);
    ProcessEvents();
}

void TestWindow::Resize(int width, int height) {
    RECT outer{0, 0, width, height};
    ::AdjustWindowRectEx(&outer, static_cast<DWORD>(::GetWindowLongW(Hwnd(parts_->window), GWL_STYLE)),
                         FALSE, 0);
    ::SetWindowPos(Hwnd(parts_->window), nullptr, 0, 0, outer.right - outer.left,
                   outer.bottom - outer.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    ProcessEvents();
}

int TestWindow::ChildCount() const {
    int count = 0;
    for (HWND child = ::GetWindow(Hwnd(parts_->window), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        ++count;
    }
    return count;
}

ShownPicture GrabClient(std::intptr_t window) {
    // Only the paints that wait are done: the program's input stays in the queue for it.
    const HWND hwnd = Hwnd(window);
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT client;
    ::GetClientRect(hwnd, &client);
    ShownPicture picture;
    picture.width = client.right;
    picture.height = client.bottom;
    picture.pixels.assign(static_cast<std::size_t>(picture.width) * picture.height, 0);
    HDC windowDc = ::GetDC(hwnd);
    HDC memoryDc = ::CreateCompatibleDC(windowDc);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = ::CreateDIBSection(memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memoryDc, section);
    ::BitBlt(memoryDc, 0, 0, picture.width, picture.height, windowDc, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) picture.pixels[i] = pixels[i] & 0xFFFFFFu;
    ::SelectObject(memoryDc, old);
    ::DeleteObject(section);
    ::DeleteDC(memoryDc);
    ::ReleaseDC(hwnd, windowDc);
    return picture;
}

ShownPicture TestWindow::Grab() {
    ProcessEvents();
    return GrabClient(parts_->window);
}

void ProcessEvents() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace testing_support
