// The view's mapping between view pixels and map pixels at every scale.
#include "editor/ViewScale.h"

#include "editor/EditorState.h"
#include "editor/MapDocument.h"
#include "gui/Window.h"

namespace editor {

std::int64_t Reduction() { return View.ZoomLevel < 0 ? std::int64_t{1} << -View.ZoomLevel : 1; }

std::int64_t Enlargement() { return View.ZoomLevel > 0 ? std::int64_t{1} << View.ZoomLevel : 1; }

std::int64_t MapFromView(std::int64_t v, std::int32_t scroll) {
    if (View.ZoomLevel == 0) return scroll + v;
    if (View.ZoomLevel > 0) return scroll + FloorDiv(v, Enlargement());
    const std::int64_t k = Reduction();
    return (FloorDiv(scroll, k) + v) * k;
}

std::int64_t ViewFirst(std::int64_t m, std::int32_t scroll) {
    if (View.ZoomLevel == 0) return m - scroll;
    if (View.ZoomLevel > 0) return (m - scroll) * Enlargement();
    const std::int64_t k = Reduction();
    return FloorDiv(m, k) - FloorDiv(scroll, k);
}

std::int64_t ViewLast(std::int64_t m, std::int32_t scroll) {
    return ViewFirst(m, scroll) + Enlargement() - 1;
}

std::int64_t MapSpan(std::int64_t d) {
    return View.ZoomLevel > 0 ? FloorDiv(d, Enlargement()) : d * Reduction();
}

std::int32_t ViewX(std::int64_t m) { return Wrap(ViewFirst(m, View.ScrollX)); }

std::int32_t ViewY(std::int64_t m) { return Wrap(ViewFirst(m, View.ScrollY)); }

void LocateMouse() {
    View.MouseMapX = Wrap(MapFromView(gui::WindowMouseX(kMainWindow) - kViewLeft, View.ScrollX));
    View.MouseMapY = Wrap(MapFromView(gui::WindowMouseY(kMainWindow) - kViewTop, View.ScrollY));
    View.HoverFieldX = View.MouseMapX / Document.FieldWidth;
    View.HoverFieldY = View.MouseMapY / Document.FieldHeight;
    if (View.HoverFieldX < 0) View.HoverFieldX = 0;
    if (View.HoverFieldY < 0) View.HoverFieldY = 0;
    if (View.HoverFieldX > Document.LastFieldX) View.HoverFieldX = Document.LastFieldX;
    if (View.HoverFieldY > Document.LastFieldY) View.HoverFieldY = Document.LastFieldY;
}

}  // namespace editor
