// The message pump: an application-wide event filter turns the toolkit's input on runtime
// windows into messages, one queue hands them out one at a time.
//
// The queue keeps three kinds apart and hands them out as the original system does: posted
// messages first (the library's own notifications, menu commands, the close request), then
// input, each kind oldest first, and the paint of an exposed window only when neither waits.
// So a notification posted while input is waiting arrives before that input.
//
// For each input event on a runtime window the filter builds the message, matches key
// presses against the window's shortcut table (a match consumes the key, so the shortcut
// wins over the focused field), and otherwise lets the toolkit deliver the very same event at
// once. Notifications that this delivery raises are recorded with the message and reach the
// procedures when the program dispatches it. Events are never held back and replayed later:
// the toolkit's pointer events share their points with the device state.
//
// Double clicks follow the rule of the original system in our own code: a second press of
// the same button on the same window, within the double-click time and two pixels, is a
// double click; the toolkit's own double-click events make no message.
#include <QApplication>
#include <QCursor>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleHints>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <deque>

#include "platform/Cp1252.h"
#include "platform/ShortcutTables.h"
#include "platform/qt/UiInternal.h"

namespace platform {
namespace qtui {
namespace {

using MessagePtr = std::shared_ptr<Message>;

std::deque<MessagePtr> gPosted;      // PostMessage
std::deque<MessagePtr> gInput;       // mouse, wheel and keys
std::deque<Handle> gPaints;          // windows with a pending exposure, oldest first
std::vector<MessagePtr> gRecording;  // messages whose delivery is under way, innermost last
std::weak_ptr<Message> gLastPress;   // the toolkit's double-click event belongs to it

struct LastClick {
    bool valid = false;
    Qt::MouseButton button = Qt::NoButton;
    quint64 time = 0;
    QPoint global;
    Handle target = 0;
};
LastClick gLastClick;
Handle gCapture = 0;  // a control that took a button press gets the mouse until release

// Input joins its own queue; PostMessage fills the other.
void Enqueue(const MessagePtr& message) { gInput.push_back(message); }

MessagePtr NewMessage(Handle target, std::uint32_t number, std::uintptr_t wParam,
                      std::intptr_t lParam, std::uint8_t modifiers = 0) {
    auto message = std::make_shared<Message>();
    message->window = target;
    message->message = number;
    message->wParam = wParam;
    message->lParam = lParam;
    message->keyModifiers = modifiers;
    return message;
}

bool IsQueued(const MessagePtr& message) {
    return message && std::find(gInput.begin(), gInput.end(), message) != gInput.end();
}

// Hands the event to the toolkit now, recording the notifications it raises with `message`.
void Deliver(QWindow* window, QEvent* event, const MessagePtr& message) {
    struct Recording {
        explicit Recording(const MessagePtr& m) { gRecording.push_back(m); }
        ~Recording() { gRecording.pop_back(); }
    } recording(message);
    static_cast<QObject*>(window)->event(event);
}

std::uint8_t ModifierFlags(Qt::KeyboardModifiers modifiers) {
    std::uint8_t flags = 0;
    if (modifiers & Qt::ShiftModifier) flags |= FSHIFT;
    if (modifiers & Qt::ControlModifier) flags |= FCONTROL;
    if (modifiers & Qt::AltModifier) flags |= FALT;
    return flags;
}

std::uintptr_t MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
    std::uintptr_t keys = 0;
    if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
    if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
    if (buttons & Qt::XButton1) keys |= MK_XBUTTON1;
    if (buttons & Qt::XButton2) keys |= MK_XBUTTON2;
    if (modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
    return keys;
}

// Message numbers of a button: down, up, double click.
struct ButtonMessages {
    std::uint32_t down, up, doubleClick;
};

bool ButtonMessagesOf(Qt::MouseButton button, bool nonClient, ButtonMessages* out) {
    switch (button) {
        case Qt::LeftButton:
            *out = nonClient ? ButtonMessages{WM_NCLBUTTONDOWN, WM_NCLBUTTONUP, WM_NCLBUTTONDBLCLK}
                             : ButtonMessages{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK};
            return true;
        case Qt::RightButton:
            *out = nonClient ? ButtonMessages{WM_NCRBUTTONDOWN, WM_NCRBUTTONUP, WM_NCRBUTTONDBLCLK}
                             : ButtonMessages{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_RBUTTONDBLCLK};
            return true;
        case Qt::MiddleButton:
            *out = nonClient ? ButtonMessages{WM_NCMBUTTONDOWN, WM_NCMBUTTONUP, WM_NCMBUTTONDBLCLK}
                             : ButtonMessages{WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK};
            return true;
        case Qt::XButton1:
        case Qt::XButton2:
            if (nonClient) return false;
            *out = ButtonMessages{WM_XBUTTONDOWN, WM_XBUTTONUP, WM_XBUTTONDBLCLK};
            return true;
        default:
            return false;
    }
}

bool IsDoubleClick(const QMouseEvent* event, Handle target) {
    if (!gLastClick.valid || gLastClick.button != event->button() || gLastClick.target != target) {
        return false;
    }
    const QPoint global = event->globalPosition().toPoint();
    const int interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    return event->timestamp() - gLastClick.time < static_cast<quint64>(interval) &&
           std::abs(global.x() - gLastClick.global.x()) <= 2 &&
           std::abs(global.y() - gLastClick.global.y()) <= 2;
}

// Static texts, frames and group boxes let the mouse through to their window.
bool TakesMouse(Handle handle) {
    const HandleInfo* info = Info(handle);
    return info != nullptr && info->kind != HandleKind::Top &&
           !info->widget->testAttribute(Qt::WA_TransparentForMouseEvents);
}

bool OnMouse(Handle top, QWindow* window, QMouseEvent* event) {
    HandleInfo* info = TopInfo(top);
    if (!info->inputEnabled) return true;
    if (gCapture != 0 && Info(gCapture) == nullptr) gCapture = 0;
    TopWindow* topWidget = info->top;
    QWidget* client = topWidget->Client();
    const QPoint windowPos = event->position().toPoint();
    const QPoint global = event->globalPosition().toPoint();
    const bool insideWindow = QRect(QPoint(0, 0), topWidget->size()).contains(windowPos);
    const bool overMenu = insideWindow && windowPos.y() < client->y();

    Handle target = top;
    bool nonClient = false;
    if (gCapture != 0) {
        target = gCapture;
    } else if (overMenu) {
        nonClient = true;
    } else if (insideWindow) {
        const QWidget* under = client->childAt(client->mapFrom(topWidget, windowPos));
        const Handle handle = under != nullptr ? HandleOfWidget(under) : 0;
        if (TakesMouse(handle)) target = handle;
    } else {
        // Outside the window without a capture the window system reports nothing.
        Deliver(window, event, nullptr);
        return true;
    }
    const QPoint local = nonClient ? global : Info(target)->widget->mapFromGlobal(global);
    const std::intptr_t lParam = MakeLParam(local.x(), local.y());
    std::uintptr_t wParam = nonClient ? HTMENU : MouseKeys(event->buttons(), event->modifiers());

    std::uint32_t number = 0;
    ButtonMessages buttons{};
    switch (event->type()) {
        case QEvent::MouseMove:
            number = nonClient ? WM_NCMOUSEMOVE : WM_MOUSEMOVE;
            break;
        case QEvent::MouseButtonPress:
            if (!ButtonMessagesOf(event->button(), nonClient, &buttons)) break;
            if (IsDoubleClick(event, target)) {
                number = buttons.doubleClick;
                gLastClick.valid = false;
            } else {
                number = buttons.down;
                gLastClick = {true, event->button(), event->timestamp(), global, target};
            }
            if (!nonClient && target != top) gCapture = target;
            break;
        case QEvent::MouseButtonRelease:
            if (!ButtonMessagesOf(event->button(), nonClient, &buttons)) break;
            number = buttons.up;
            if (event->buttons() == Qt::NoButton) gCapture = 0;
            break;
        default:
            break;
    }
    if (number == 0) {
        Deliver(window, event, nullptr);
        return true;
    }
    if (number == WM_XBUTTONDOWN || number == WM_XBUTTONUP || number == WM_XBUTTONDBLCLK) {
        wParam |= MakeWParam(0, event->button() == Qt::XButton1 ? 1 : 2);
    }
    MessagePtr message =
        NewMessage(target, number, wParam, lParam, ModifierFlags(event->modifiers()));
    Enqueue(message);
    if (event->type() == QEvent::MouseButtonPress) gLastPress = message;
    Deliver(window, event, message);
    return true;
}

bool OnDoubleClickEvent(Handle top, QWindow* window, QEvent* event) {
    if (!TopInfo(top)->inputEnabled) return true;
    // The press before it has made the message; what the toolkit does now belongs to it.
    MessagePtr press = gLastPress.lock();
    Deliver(window, event, IsQueued(press) ? press : nullptr);
    return true;
}

bool OnWheel(Handle top, QWindow* window, QWheelEvent* event) {
    if (!TopInfo(top)->inputEnabled) return true;
    const Handle focus = GetFocus();
    const Handle target = (focus != 0 && TopHandleOf(focus) == top) ? focus : top;
    const QPoint global = event->globalPosition().toPoint();
    // The toolkit counts a horizontal turn to the left as positive; the horizontal wheel
    // message counts a turn to the right.
    const int delta =
        event->angleDelta().y() != 0 ? event->angleDelta().y() : -event->angleDelta().x();
    const std::uint32_t number = event->angleDelta().y() != 0 ? WM_MOUSEWHEEL : WM_MOUSEHWHEEL;
    const auto keys = static_cast<std::uint32_t>(MouseKeys(event->buttons(), event->modifiers()));
    MessagePtr message =
        NewMessage(target, number, MakeWParam(keys, static_cast<std::uint16_t>(delta)),
                   MakeLParam(global.x(), global.y()), ModifierFlags(event->modifiers()));
    Enqueue(message);
    Deliver(window, event, message);
    return true;
}

bool OnKey(Handle top, QWindow* window, QKeyEvent* event) {
    HandleInfo* info = TopInfo(top);
    if (!info->inputEnabled) return true;
    const std::uint32_t key =
        VirtualKeyOf(event->key(), (event->modifiers() & Qt::KeypadModifier) != 0);
    const std::uint8_t modifiers = ModifierFlags(event->modifiers());
    const bool alt = (event->modifiers() & Qt::AltModifier) != 0;
    const bool system = alt || key == VK_F10 || key == VK_MENU;
    const Handle focus = GetFocus();
    const Handle target = (focus != 0 && TopHandleOf(focus) == top) ? focus : top;
    std::intptr_t lParam = 1 | (alt ? (1 << 29) : 0);

    if (event->type() == QEvent::KeyRelease) {
        if (event->isAutoRepeat()) {  // a held key repeats its press only
            Deliver(window, event, nullptr);
            return true;
        }
        lParam |= (std::intptr_t{1} << 30) | (std::intptr_t{1} << 31);
        MessagePtr up = NewMessage(target, system ? WM_SYSKEYUP : WM_KEYUP, key, lParam, modifiers);
        Enqueue(up);
        Deliver(window, event, up);
        return true;
    }
    if (event->isAutoRepeat()) lParam |= std::intptr_t{1} << 30;
    MessagePtr down =
        NewMessage(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, lParam, modifiers);
    Enqueue(down);
    if (info->shortcuts != 0 && MatchShortcut(info->shortcuts, key, modifiers)) {
        return true;  // the command is sent when the message is fetched
    }
    // The characters of the key follow it as messages of their own.
    MessagePtr last = down;
    for (const QChar c : event->text()) {
        if (c.unicode() == 0x7F || c.isSurrogate()) continue;
        const unsigned char byte = Cp1252FromCodePoint(c.unicode());
        MessagePtr character =
            NewMessage(target, alt ? WM_SYSCHAR : WM_CHAR, byte, lParam, modifiers);
        Enqueue(character);
        last = character;
    }
    Deliver(window, event, last);
    return true;
}

class Pump : public QObject {
protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (!object->isWindowType()) return false;
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseMove:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::Close:
            case QEvent::Expose:
            case QEvent::FocusIn:
            case QEvent::FocusOut:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowStateChange:
                break;
            default:
                return false;
        }
        auto* window = static_cast<QWindow*>(object);
        const Handle top = TopHandleOfQWindow(window);
        if (top == 0) return false;
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseMove:
                return OnMouse(top, window, static_cast<QMouseEvent*>(event));
            case QEvent::MouseButtonDblClick:
                return OnDoubleClickEvent(top, window, event);
            case QEvent::Wheel:
                return OnWheel(top, window, static_cast<QWheelEvent*>(event));
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                return OnKey(top, window, static_cast<QKeyEvent*>(event));
            case QEvent::Close: {
                // The window stays; its procedure decides. The request arrives as the close
                // system command, which the default procedure turns into WM_CLOSE.
                event->ignore();
                if (TopInfo(top)->inputEnabled) {
                    const QPoint p = QCursor::pos();
                    PostMessage(top, WM_SYSCOMMAND, SC_CLOSE, MakeLParam(p.x(), p.y()));
                }
                return true;
            }
            case QEvent::Expose: {
                Deliver(window, event, nullptr);
                HandleInfo* info = TopInfo(top);
                if (info != nullptr && window->isExposed()) {
                    // Showing erased the background already; later exposures erase again.
                    if (info->exposedOnce) info->needErase = true;
                    info->exposedOnce = true;
                    QueuePaint(top);
                }
                return true;
            }
            case QEvent::FocusIn:
            case QEvent::FocusOut:
                if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
                    ReportActivation(top, event->type() == QEvent::FocusIn);
                }
                return false;
            default:  // move, resize, minimise
                Deliver(window, event, nullptr);
                ReportGeometry(top);
                return true;
        }
    }
};

bool HasMessage() {
    for (const auto* queue : {&gPosted, &gInput}) {
        for (const MessagePtr& m : *queue) {
            if (Info(m->window) != nullptr) return true;
        }
    }
    for (Handle window : gPaints) {
        if (Info(window) != nullptr) return true;
    }
    return false;
}

bool TakeMessage(Message* out) {
    for (auto* queue : {&gPosted, &gInput}) {
        while (!queue->empty()) {
            MessagePtr message = queue->front();
            queue->pop_front();
            if (Info(message->window) == nullptr) continue;
            *out = *message;
            return true;
        }
    }
    while (!gPaints.empty()) {
        const Handle window = gPaints.front();
        gPaints.pop_front();
        if (Info(window) == nullptr) continue;
        *out = Message{};
        out->window = window;
        out->message = WM_PAINT;
        return true;
    }
    return false;
}

void ProcessToolkitEvents(QEventLoop::ProcessEventsFlags flags) {
    QCoreApplication::processEvents(flags);
    // Without a running event loop, objects the toolkit deletes later are deleted here.
    if (!InDelivery()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

void InstallPump() {
    static Pump* pump = [] {
        auto* p = new Pump;
        QCoreApplication::instance()->installEventFilter(p);
        return p;
    }();
    (void)pump;
}

void Notify(Handle target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (Info(target) == nullptr) return;
    if (!gRecording.empty() && gRecording.back()) {
        gRecording.back()->sent.push_back(SentMessage{target, message, wParam, lParam});
    } else {
        SendMessage(target, message, wParam, lParam);
    }
}

bool InDelivery() { return !gRecording.empty(); }

void QueuePaint(Handle window) {
    if (std::find(gPaints.begin(), gPaints.end(), window) == gPaints.end()) {
        gPaints.push_back(window);
    }
}

bool TakePendingPaint(Handle window) {
    const auto found = std::find(gPaints.begin(), gPaints.end(), window);
    if (found == gPaints.end()) return false;
    gPaints.erase(found);
    return true;
}

void ForgetQueuedMessages(Handle handle) {
    for (auto* queue : {&gPosted, &gInput}) {
        std::erase_if(*queue, [handle](const MessagePtr& m) { return m->window == handle; });
        for (const MessagePtr& m : *queue) {
            std::erase_if(m->sent, [handle](const SentMessage& s) { return s.target == handle; });
        }
    }
    TakePendingPaint(handle);
    if (gCapture == handle) gCapture = 0;
    if (gLastClick.target == handle) gLastClick.valid = false;
}

}  // namespace qtui

using namespace qtui;

bool PostMessage(Handle handle, std::uint32_t message, std::uintptr_t wParam,
                 std::intptr_t lParam) {
    if (Info(handle) == nullptr) return false;
    gPosted.push_back(NewMessage(handle, message, wParam, lParam));
    return true;
}

bool GetMessage(Message* message) {
    UiInit();
    while (!TakeMessage(message)) ProcessToolkitEvents(QEventLoop::WaitForMoreEvents);
    return true;
}

bool PeekMessage(Message* message) {
    UiInit();
    if (TakeMessage(message)) return true;
    ProcessToolkitEvents(QEventLoop::AllEvents);
    return TakeMessage(message);
}

bool WaitMessage(std::int32_t timeoutMs) {
    UiInit();
    if (HasMessage()) return true;
    const QDeadlineTimer deadline(std::max(0, timeoutMs));
    QTimer wake;  // ends the toolkit's wait when the time is up
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    wake.start(std::max(0, timeoutMs));
    while (!HasMessage()) {
        if (deadline.hasExpired()) return false;
        ProcessToolkitEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

std::intptr_t DispatchMessage(const Message& message) {
    for (const SentMessage& sent : message.sent) {
        if (Info(sent.target) != nullptr) {
            SendMessage(sent.target, sent.message, sent.wParam, sent.lParam);
        }
    }
    if (Info(message.window) == nullptr) return 0;
    return SendMessage(message.window, message.message, message.wParam, message.lParam);
}

}  // namespace platform
