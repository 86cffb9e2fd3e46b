// The presentation surface on GDI: a child window at the picture's place holds a copy of the
// last picture as a device-independent bitmap and paints it whenever the system asks
// (uncovering, resizing, first show) with SetDIBitsToDevice, stretched pictures scaled here. A subclass of the window is the hook that follows its size.
#include "platform/Surface.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/win32/UiInternal.h"

namespace platform {
namespace {

using win32::Hwnd;

constexpr wchar_t kSurfaceClass[] = L"KarteneditorBild";
constexpr UINT_PTR kHookId = 0x5346;

struct Surface {
    HWND child = nullptr;
    PicturePlacement placement;
    bool attached = false;
    std::vector<std::uint32_t> pixels;  // width x height, no gaps
    std::int32_t width = 0;
    std::int32_t height = 0;
};

std::map<std::intptr_t, Surface>& Surfaces() {
    static std::map<std::intptr_t, Surface> surfaces;
    return surfaces;
}

Surface* SurfaceOfChild(HWND child) {
    for (auto& [window, surface] : Surfaces()) {
        if (surface.child == child) return &surface;
    }
    return nullptr;
}

// A stretched picture repeats pixels: each shown pixel takes the picture's pixel under its
// centre, as the other backend's unsmoothed scaling does, so both show the same pixels.
std::vector<std::uint32_t> Stretch(const Surface& surface, std::int32_t width,
                                   std::int32_t height) {
    std::vector<std::uint32_t> shown(static_cast<std::size_t>(width) * height);
    std::vector<std::int32_t> columns(static_cast<std::size_t>(width));
    for (std::int32_t x = 0; x < width; ++x) {
        columns[static_cast<std::size_t>(x)] = static_cast<std::int32_t>(
            (std::int64_t{2} * x + 1) * surface.width / (std::int64_t{2} * width));
    }
    for (std::int32_t y = 0; y < height; ++y) {
        const auto row = static_cast<std::int32_t>((std::int64_t{2} * y + 1) * surface.height /
                                                   (std::int64_t{2} * height));
        const std::uint32_t* from = surface.pixels.data() + static_cast<std::ptrdiff_t>(row) *
                                                                surface.width;
        std::uint32_t* to = shown.data() + static_cast<std::ptrdiff_t>(y) * width;
        for (std::int32_t x = 0; x < width; ++x) to[x] = from[columns[static_cast<std::size_t>(x)]];
    }
    return shown;
}

void Paint(HWND child) {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(child, &paint);
    const Surface* surface = SurfaceOfChild(child);
    RECT client;
    ::GetClientRect(child, &client);
    if (surface != nullptr && surface->width > 0 && surface->height > 0 && client.right > 0 &&
        client.bottom > 0) {
        const bool oneToOne = client.right == surface->width && client.bottom == surface->height;
        std::vector<std::uint32_t> stretched;
        if (!oneToOne) stretched = Stretch(*surface, client.right, client.bottom);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = client.right;
        info.bmiHeader.biHeight = -client.bottom;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        ::SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(client.right),
                            static_cast<DWORD>(client.bottom), 0, 0, 0,
                            static_cast<UINT>(client.bottom),
                            oneToOne ? surface->pixels.data() : stretched.data(), &info,
                            DIB_RGB_COLORS);
    } else {
        ::FillRect(dc, &client, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    ::EndPaint(child, &paint);
}

LRESULT CALLBACK SurfaceProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCHITTEST:
            return HTTRANSPARENT;  // the window underneath gets the mouse
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        default:
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

void FollowClient(std::intptr_t window, Surface& surface) {
    RECT client;
    if (!surface.attached || !::GetClientRect(Hwnd(window), &client)) {
        ::ShowWindow(surface.child, SW_HIDE);
        return;
    }
    const PictureRect r = PlacePicture(surface.placement, client.right, client.bottom);
    const std::int64_t w = std::int64_t{r.right} - r.left;
    const std::int64_t h = std::int64_t{r.bottom} - r.top;
    if (w <= 0 || h <= 0) {
        ::ShowWindow(surface.child, SW_HIDE);
        return;
    }
    // Lowest of the window's children: controls placed over the picture stay visible.
    ::SetWindowPos(surface.child, HWND_BOTTOM, r.left, r.top,
                   static_cast<int>(std::min<std::int64_t>(w, INT32_MAX)),
                   static_cast<int>(std::min<std::int64_t>(h, INT32_MAX)),
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

LRESULT CALLBACK Hook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                      DWORD_PTR) {
    const auto window = reinterpret_cast<std::intptr_t>(hwnd);
    if (message == WM_SIZE) {
        const auto found = Surfaces().find(window);
        if (found != Surfaces().end()) FollowClient(window, found->second);
    } else if (message == WM_NCDESTROY) {
        Surfaces().erase(window);
        ::RemoveWindowSubclass(hwnd, &Hook, kHookId);
    }
    return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

const wchar_t* SurfaceClass() {
    static const bool registered = [] {
        WNDCLASSEXW surface{};
        surface.cbSize = sizeof(surface);
        // A stretched picture changes everywhere when its size does.
        surface.style = CS_HREDRAW | CS_VREDRAW;
        surface.lpfnWndProc = &SurfaceProc;
        surface.hInstance = ::GetModuleHandleW(nullptr);
        surface.lpszClassName = kSurfaceClass;
        return ::RegisterClassExW(&surface) != 0;
    }();
    (void)registered;
    return kSurfaceClass;
}

Surface* FindSurface(std::intptr_t window) {
    const auto found = Surfaces().find(window);
    if (found == Surfaces().end()) return nullptr;
    if (!::IsWindow(found->second.child)) {
        Surfaces().erase(found);
        return nullptr;
    }
    return &found->second;
}

void Repaint(const Surface& surface) {
    if (::IsWindowVisible(surface.child)) {
        ::RedrawWindow(surface.child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
}

}  // namespace

bool DisplayAvailable() {
    UiInit();
    return ::GetSystemMetrics(SM_CXSCREEN) > 0 && ::GetSystemMetrics(SM_CYSCREEN) > 0;
}

bool SurfaceAttach(std::intptr_t window, const PicturePlacement& placement) {
    Surface* surface = FindSurface(window);
    if (surface == nullptr) {
        if (!IsWindow(window)) return false;
        HWND child = ::CreateWindowExW(0, SurfaceClass(), L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0,
                                       0, Hwnd(window), nullptr, ::GetModuleHandleW(nullptr),
                                       nullptr);
        if (child == nullptr) return false;
        surface = &Surfaces()[window];
        surface->child = child;
        ::SetWindowSubclass(Hwnd(window), &Hook, kHookId, 0);
    }
    surface->placement = placement;
    surface->attached = true;
    surface->width = std::max(placement.width, 1);
    surface->height = std::max(placement.height, 1);
    // Black until the first present.
    surface->pixels.assign(static_cast<std::size_t>(surface->width) * surface->height, 0);
    FollowClient(window, *surface);
    Repaint(*surface);
    return true;
}

void SurfacePresent(std::intptr_t window, const std::uint32_t* pixels, std::int32_t width,
                    std::int32_t height, std::int32_t pitch) {
    Surface* surface = FindSurface(window);
    if (surface == nullptr || !surface->attached || pixels == nullptr || width <= 0 ||
        height <= 0) {
        return;
    }
    surface->width = width;
    surface->height = height;
    surface->pixels.resize(static_cast<std::size_t>(width) * height);
    for (std::int32_t row = 0; row < height; ++row) {
        std::copy_n(pixels + static_cast<std::ptrdiff_t>(row) * pitch, width,
                    surface->pixels.data() + static_cast<std::ptrdiff_t>(row) * width);
    }
    Repaint(*surface);
}

void SurfaceDetach(std::intptr_t window) {
    Surface* surface = FindSurface(window);
    if (surface == nullptr) return;
    surface->attached = false;
    surface->pixels.clear();
    surface->width = surface->height = 0;
    ::ShowWindow(surface->child, SW_HIDE);
}

}  // namespace platform
