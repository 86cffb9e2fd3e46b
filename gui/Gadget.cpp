// Gadgets: the gadget table, the five kinds with their operations, creation, and the gadget
// procedure that frees a gadget's number when its control is destroyed.
#include "gui/Gadget.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "gui/WindowInternal.h"
#include "platform/UiControls.h"
#include "runtime/ObjectTable.h"

namespace gui {
namespace {

using platform::Handle;

struct GadgetRecord;

// One table of operations per kind; an empty slot makes the generic operation fall back to
// the control's own text and position, or to nothing for state.
struct GadgetKind {
    std::int32_t id;
    // Messages the window gets about the control; true when handled.
    bool (*messageHandler)(GadgetRecord&, Handle window, std::uint32_t message,
                           std::uintptr_t wParam, std::intptr_t lParam, std::intptr_t* result);
    void (*freeOperation)(GadgetRecord&);
    std::int32_t (*getState)(GadgetRecord&);
    void (*setState)(GadgetRecord&, std::int32_t);
    std::string (*getText)(GadgetRecord&);
    void (*setText)(GadgetRecord&, std::string_view);
    bool (*position)(GadgetRecord&, std::int32_t* x, std::int32_t* y);
};

struct GadgetRecord {
    Handle handle = 0;
    const GadgetKind* kind = nullptr;
    platform::WindowProc previous = nullptr;  // the control's procedure before ours
    std::int32_t background = 0;              // -1 (the platform default) for texts and fields
    std::int32_t textColour = 0;
    bool InUse() const { return handle != 0; }
};

struct GadgetListState {
    Handle window = 0;
    std::int32_t created = 0;  // cleared after every creation
    Handle font = 0;
    std::array<Handle, 10> saved{};  // for nested lists, which this program does not use
    std::int32_t savedCount = 0;
};

std::unique_ptr<runtime::ObjectTable<GadgetRecord>> gGadgets;
GadgetListState gList;
platform::WindowProc gEditBaseProc = nullptr;  // the field's procedure behind its own handler

GadgetRecord* Lookup(std::int32_t number) { return gGadgets ? gGadgets->Lookup(number) : nullptr; }

bool IsVertical(const GadgetRecord& record) {
    return (platform::GetWindowStyle(record.handle) & platform::TBS_VERT) != 0;
}

// ---- Kinds -----------------------------------------------------------------------------------

bool TrackBarMessage(GadgetRecord& record, Handle, std::uint32_t message, std::uintptr_t,
                     std::intptr_t, std::intptr_t*) {
    if (message == platform::WM_HSCROLL || message == platform::WM_VSCROLL) {
        const std::intptr_t number =
            platform::GetProp(record.handle, detail::kGadgetNumberProperty);
        platform::PostMessage(detail::TopLevelOf(record.handle),
                              static_cast<std::uint32_t>(GADGET_NOTIFY),
                              static_cast<std::uintptr_t>(number), 0);
    }
    return false;  // the window's default handling still runs
}

// minimum + maximum - value: the top end of a vertical bar is its maximum.
std::int32_t Mirror(const GadgetRecord& record, std::int32_t value) {
    const std::int64_t mirrored = std::int64_t{platform::TrackBarGetRangeMin(record.handle)} +
                                  platform::TrackBarGetRangeMax(record.handle) - value;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(mirrored, INT32_MIN, INT32_MAX));
}

std::int32_t TrackBarGetState(GadgetRecord& record) {
    const std::int32_t position = platform::TrackBarGetPos(record.handle);
    return IsVertical(record) ? Mirror(record, position) : position;
}

void TrackBarSetState(GadgetRecord& record, std::int32_t state) {
    // The control clamps the position into its range.
    platform::TrackBarSetPos(record.handle, IsVertical(record) ? Mirror(record, state) : state,
                             true);
}

std::int32_t CheckBoxGetState(GadgetRecord& record) {
    return platform::ButtonGetCheck(record.handle) == platform::BST_CHECKED ? 1 : 0;
}

void CheckBoxSetState(GadgetRecord& record, std::int32_t state) {
    platform::ButtonSetCheck(record.handle,
                             state != 0 ? platform::BST_CHECKED : platform::BST_UNCHECKED);
}

// Texts and fields would answer colour requests once a colour is set; this program sets
// none, so the platform's colours apply and they need no handler.
constexpr GadgetKind kFrameKind{7, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
constexpr GadgetKind kTextKind{3, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
constexpr GadgetKind kStringKind{2, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
constexpr GadgetKind kTrackBarKind{
    17, &TrackBarMessage, nullptr, &TrackBarGetState, &TrackBarSetState, nullptr, nullptr, nullptr};
constexpr GadgetKind kCheckBoxKind{4,       nullptr, nullptr, &CheckBoxGetState, &CheckBoxSetState,
                                   nullptr, nullptr, nullptr};

// A field's own handler: tells its window of focus changes with a posted notification.
std::intptr_t EditOwnHandler(Handle control, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
    if (message == platform::WM_SETFOCUS || message == platform::WM_KILLFOCUS) {
        const std::intptr_t number = platform::GetProp(control, detail::kGadgetNumberProperty);
        platform::PostMessage(
            detail::TopLevelOf(control), static_cast<std::uint32_t>(GADGET_NOTIFY),
            static_cast<std::uintptr_t>(number),
            message == platform::WM_SETFOCUS ? EVENT_TYPE_FOCUS : EVENT_TYPE_LOST_FOCUS);
    }
    return platform::CallWindowProc(gEditBaseProc, control, message, wParam, lParam);
}

// Every gadget's procedure: passes messages on and, on the control's final destruction,
// frees the gadget's number.
std::intptr_t GadgetProcedure(Handle control, std::uint32_t message, std::uintptr_t wParam,
                              std::intptr_t lParam) {
    const std::int32_t number = platform::GetControlId(control);
    if (number == -1) return platform::DefWindowProc(control, message, wParam, lParam);
    GadgetRecord* record = Lookup(number);
    if (record != nullptr && record->handle != control) record = nullptr;
    const std::intptr_t result = platform::CallWindowProc(
        record != nullptr ? record->previous : nullptr, control, message, wParam, lParam);
    if (message == platform::WM_NCDESTROY) {
        record = Lookup(number);
        if (record != nullptr && record->handle == control) {
            if (record->kind->freeOperation != nullptr) record->kind->freeOperation(*record);
            gGadgets->Free(number);
        }
        platform::RemoveProp(control, detail::kGadgetNumberProperty);
        platform::SetControlId(control, -1);
    }
    return result;
}

// The window's gadget table keeps the number; a reused number destroys the old control,
// which frees the slot through the gadget procedure.
void DestroyGadget(int number) {
    if (GadgetRecord* record = Lookup(number)) platform::DestroyWindow(record->handle);
}

std::intptr_t CreateGadget(const GadgetKind& kind, std::int32_t number,
                           platform::ControlClass controlClass, std::uint32_t style,
                           std::uint32_t exStyle, std::int32_t x, std::int32_t y, std::int32_t w,
                           std::int32_t h, std::string_view text) {
    if (!gGadgets) return 0;
    const Handle control =
        platform::CreateControl(controlClass, gList.window, detail::HasText(text) ? text : "",
                                style, exStyle, x, y, w, h, 0);
    if (control == 0) return 0;  // refused: a gadget that had the number stays
    int id = 0;
    GadgetRecord* record = gGadgets->GetOrCreate(number, &id);
    if (record == nullptr) {
        platform::DestroyWindow(control);
        return 0;
    }
    *record = GadgetRecord{};
    if (&kind == &kTextKind || &kind == &kStringKind) {
        record->background = -1;
        record->textColour = -1;
    }
    if (&kind == &kStringKind) {
        gEditBaseProc = platform::SetWindowProc(control, &EditOwnHandler);
    }
    record->handle = control;
    record->kind = &kind;
    record->previous = platform::SetWindowProc(control, &GadgetProcedure);
    platform::SetControlId(control, id);
    platform::SetProp(control, detail::kGadgetNumberProperty, id);
    platform::SetControlFont(control, gList.font);
    gList.created = 0;
    return number == -1 ? static_cast<std::intptr_t>(id) : control;
}

constexpr std::uint32_t kChild = platform::WS_CHILD | platform::WS_VISIBLE;

}  // namespace

namespace detail {

bool GadgetOfferMessage(Handle window, std::uint32_t message, std::uintptr_t wParam,
                        std::intptr_t lParam, std::intptr_t* result) {
    const auto control = static_cast<Handle>(lParam);
    if (control == 0 || !platform::IsWindow(control)) return false;
    const std::int32_t number = platform::GetControlId(control);
    if (platform::GetProp(control, kGadgetNumberProperty) != number) return false;
    GadgetRecord* record = Lookup(number);
    if (record == nullptr || record->handle != control || record->kind->messageHandler == nullptr) {
        return false;
    }
    return record->kind->messageHandler(*record, window, message, wParam, lParam, result);
}

}  // namespace detail

void GadgetLibraryInit() {
    platform::UiInit();
    gGadgets = std::make_unique<runtime::ObjectTable<GadgetRecord>>(50, &DestroyGadget);
    gList = GadgetListState{};
    gList.font = platform::GetStockGuiFont();
}

WindowHandle GadgetListCreate(WindowHandle window) {
    gList.window = window;
    gList.created = 0;
    return window;
}

std::intptr_t GadgetFrame(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w,
                          std::int32_t h, std::string_view text, std::int32_t style) {
    if (style == FRAME_GROUP) {
        return CreateGadget(kFrameKind, number, platform::ControlClass::Button, 0x50020007u, 0, x,
                            y, w, h, text);
    }
    std::uint32_t windowStyle = 0x54020001u;
    std::uint32_t exStyle = 0;
    if (style == FRAME_SUNKEN) {
        exStyle = platform::WS_EX_CLIENTEDGE;
    } else if (style == FRAME_THIN_SUNKEN) {
        exStyle = platform::WS_EX_STATICEDGE;
    } else {
        windowStyle |= platform::WS_BORDER;
    }
    return CreateGadget(kFrameKind, number, platform::ControlClass::Frame, windowStyle, exStyle, x,
                        y, w, h, text);
}

std::intptr_t GadgetText(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w,
                         std::int32_t h, std::string_view text, std::int32_t flags) {
    const auto bits = static_cast<std::uint32_t>(flags);
    const std::uint32_t exStyle = (bits & 0x20000u) != 0 ? platform::WS_EX_CLIENTEDGE : 0;
    return CreateGadget(kTextKind, number, platform::ControlClass::Static,
                        bits | kChild | platform::WS_GROUP, exStyle, x, y, w, h, text);
}

std::intptr_t GadgetString(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w,
                           std::int32_t h, std::string_view text, std::int32_t flags) {
    const auto bits = static_cast<std::uint32_t>(flags);
    const std::uint32_t exStyle = (bits & 0x20000u) != 0 ? 0 : platform::WS_EX_CLIENTEDGE;
    return CreateGadget(
        kStringKind, number, platform::ControlClass::Edit,
        bits | kChild | platform::WS_TABSTOP | platform::WS_GROUP | platform::ES_AUTOHSCROLL,
        exStyle, x, y, w, h, text);
}

std::intptr_t GadgetTrackBar(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w,
                             std::int32_t h, std::int32_t minimum, std::int32_t maximum,
                             std::int32_t flags) {
    const auto bits = static_cast<std::uint32_t>(flags);
    const std::intptr_t result =
        CreateGadget(kTrackBarKind, number, platform::ControlClass::TrackBar,
                     bits | kChild | platform::WS_TABSTOP, 0, x, y, w, h, "");
    if (result == 0) return 0;
    const Handle control =
        number == -1 ? Lookup(static_cast<std::int32_t>(result))->handle : result;
    platform::TrackBarSetRangeMin(control, std::max(0, minimum), false);
    platform::TrackBarSetRangeMax(control, std::max(0, maximum), false);
    GadgetSetState(number == -1 ? static_cast<std::int32_t>(result) : number, 0);
    return result;
}

void GadgetSetRange(std::int32_t number, std::int32_t minimum, std::int32_t maximum) {
    GadgetRecord* record = Lookup(number);
    if (record == nullptr || record->kind != &kTrackBarKind) return;
    platform::TrackBarSetRangeMin(record->handle, std::max(0, minimum), false);
    platform::TrackBarSetRangeMax(record->handle, std::max(0, maximum), true);
}

std::intptr_t GadgetCheckBox(std::int32_t number, std::int32_t x, std::int32_t y, std::int32_t w,
                             std::int32_t h, std::string_view text, std::int32_t flags) {
    const auto bits = static_cast<std::uint32_t>(flags);
    return CreateGadget(
        kCheckBoxKind, number, platform::ControlClass::Button,
        bits | kChild | platform::WS_TABSTOP | platform::WS_GROUP | platform::BS_AUTOCHECKBOX, 0, x,
        y, w, h, text);
}

std::int32_t GadgetGetState(std::int32_t number) {
    GadgetRecord* record = Lookup(number);
    if (record == nullptr || record->kind->getState == nullptr) return 0;
    return record->kind->getState(*record);
}

void GadgetSetState(std::int32_t number, std::int32_t state) {
    GadgetRecord* record = Lookup(number);
    if (record == nullptr || record->kind->setState == nullptr) return;
    record->kind->setState(*record, state);
}

std::string GadgetGetText(std::int32_t number) {
    GadgetRecord* record = Lookup(number);
    if (record == nullptr) return {};
    if (record->kind->getText != nullptr) return record->kind->getText(*record);
    return platform::GetWindowText(record->handle);
}

void GadgetSetText(std::int32_t number, std::string_view text) {
    GadgetRecord* record = Lookup(number);
    if (record == nullptr) return;
    const std::string_view value = detail::HasText(text) ? text : "";
    if (record->kind->setText != nullptr) {
        record->kind->setText(*record, value);
    } else {
        platform::SetWindowText(record->handle, value);
    }
}

namespace {

bool GadgetPosition(std::int32_t number, std::int32_t* x, std::int32_t* y) {
    GadgetRecord* record = Lookup(number);
    if (record == nullptr) return false;
    if (record->kind->position != nullptr) return record->kind->position(*record, x, y);
    platform::Rect rect;
    if (!platform::GetWindowRect(record->handle, &rect)) return false;
    *x = rect.left;
    *y = rect.top;
    return platform::ScreenToClient(platform::GetParent(record->handle), x, y);
}

}  // namespace

std::int32_t GadgetX(std::int32_t number) {
    std::int32_t x = 0;
    std::int32_t y = 0;
    return GadgetPosition(number, &x, &y) ? x : 0;
}

std::int32_t GadgetY(std::int32_t number) {
    std::int32_t x = 0;
    std::int32_t y = 0;
    return GadgetPosition(number, &x, &y) ? y : 0;
}

std::intptr_t GadgetHandleOf(std::int32_t number) {
    GadgetRecord* record = Lookup(number);
    return record == nullptr ? 0 : record->handle;
}

bool GadgetHasFocus(std::int32_t number) {
    GadgetRecord* record = Lookup(number);
    return record != nullptr && platform::GetFocus() == record->handle;
}

}  // namespace gui
