// The "Rechteck" tool's drag.
#include "editor/RectangleTool.h"

#include "editor/EditorState.h"
#include "editor/MainLoop.h"
#include "editor/RandomBrush.h"
#include "editor/Selection.h"
#include "gui/Gadget.h"
#include "gui/Window.h"

namespace editor {
namespace {

void Span() {
    Tools.Spanned = ClampedRect(Tools.AnchorX, Tools.AnchorY, View.HoverFieldX, View.HoverFieldY);
}

void Finish() {
    Span();
    Tools.Spanning = false;
    FillWithBrush(Tools.Spanned, gui::GadgetGetState(kBrushBar));
}

}  // namespace

bool RectangleMouse(std::int32_t event) {
    switch (event) {
        case gui::EVENT_LEFT_DOWN:
            if (Tools.Current != Tool::Rectangle || MouseInView() == 0) return false;
            if ((gui::WindowEventModifiers() & gui::KEY_ALT) != 0) return false;
            if (MapLastX() < 0 || MapLastY() < 0) return true;  // no fields to span
            Tools.Spanning = true;
            Tools.AnchorX = View.HoverFieldX;
            Tools.AnchorY = View.HoverFieldY;
            Span();
            return true;
        case gui::EVENT_MOUSE_MOVE:
            if (!Tools.Spanning) return false;
            // A release outside the window reaches nobody; the next move tells.
            if ((gui::WindowEventParam1() & gui::MOUSE_LEFT_HELD) == 0) {
                Finish();
            } else {
                Span();
            }
            return true;
        case gui::EVENT_LEFT_UP:
            if (!Tools.Spanning) return false;
            Finish();
            return true;
        default:
            return false;
    }
}

bool CancelRectangle() {
    if (!Tools.Spanning) return false;
    Tools.Spanning = false;
    return true;
}

}  // namespace editor
