// Shared inside the Qt side of the window system stand-in: the handle registry, the
// top-level window widget, the record-or-send rule for notifications and the paint queue.
#pragma once

#include <QFont>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Ui.h"
#include "platform/UiControls.h"

class QMenuBar;
class QWindow;

namespace platform::qtui {

class ClientArea;

// A top-level window: the menu bar (when one is attached) above the client area. The bar
// takes its height from the client area; the window keeps its size.
class TopWindow : public QWidget {
public:
    TopWindow(QSize clientSize, bool resizable);
    ClientArea* Client() const { return client_; }
    QMenuBar* MenuBar();  // created on first use, hidden until a menu is attached
    void ShowMenuBar(bool show);
    int MenuBarHeight() const;
    // Shows the window maximised, also one without a sizing frame; restored, such a window
    // has its own size again and no sizing frame.
    void ShowMaximised();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void Relayout();

    ClientArea* client_;
    QMenuBar* menuBar_ = nullptr;
    bool menuShown_ = false;
    bool resizable_;
    QSize normalSize_;  // without a sizing frame: the window's only size unless maximised
};

// The client area: the window's handle, holding its controls.
class ClientArea : public QWidget {
public:
    explicit ClientArea(QWidget* parent);
};

enum class HandleKind { Top, Control, StatusBar };

struct HandleInfo {
    HandleKind kind = HandleKind::Control;
    ControlClass controlClass = ControlClass::Static;
    QPointer<QWidget> widget;  // the client area for a top-level window
    TopWindow* top = nullptr;  // top-level windows only
    WindowProc proc = nullptr;
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::int32_t id = 0;
    std::uint64_t order = 0;  // creation order
    std::map<std::string, std::intptr_t, std::less<>> properties;
    std::string text;  // frames keep their text, which they never show

    // Top-level windows.
    Handle shortcuts = 0;
    Handle menu = 0;
    bool active = false;
    bool needErase = true;
    bool exposedOnce = false;
    bool inputEnabled = true;
    bool minimized = false;
    bool sizeKnown = false;
    bool posKnown = false;
    QSize lastClientSize;
    QPoint lastClientPos;
};

// Registry of live handles.
Handle Register(std::unique_ptr<HandleInfo> info);
void Unregister(Handle handle);
HandleInfo* Info(Handle handle);
HandleInfo* TopInfo(Handle handle);  // only for top-level windows
Handle HandleOf(const HandleInfo* info);
// The top-level windows in creation order (closed ones leave it when they are unregistered).
const std::vector<Handle>& TopHandles();
// The registered handle of a widget or of its nearest registered ancestor; 0 for none.
Handle HandleOfWidget(const QWidget* widget);
// The top-level window handle that owns a QWindow, or 0.
Handle TopHandleOfQWindow(const QWindow* window);
// The top-level window handle that holds a handle (itself for a top-level window).
Handle TopHandleOf(Handle handle);

// Notifications: recorded with the message whose toolkit delivery is under way, else sent
// at once.
void Notify(Handle target, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
// True while the toolkit delivers an input event of a runtime window.
bool InDelivery();

// An exposure that the window procedure sees as WM_PAINT when the queue is empty.
void QueuePaint(Handle window);
bool TakePendingPaint(Handle window);  // removes it; true when one was pending
// Drops queued messages of a handle that is going away.
void ForgetQueuedMessages(Handle handle);

// Sends the messages of a window's changed client size and position: the size first, as
// showing and resizing do, or the move first when the frame changed around the client area
// (a menu bar attached or taken away), in the order of the original system.
void ReportGeometry(Handle window, bool frameChanged = false);
// Sends the message of a window's changed activation.
void ReportActivation(Handle window, bool active);

// Pump start (event filter), menus torn down with their window.
void InstallPump();
void DestroyMenusOfWindow(Handle window);

// Text of a control (label, frame, group box, check box, field, status bar part 0). Setting a
// field's text notifies EN_UPDATE and EN_CHANGE even when the text stays the same.
bool SetControlText(Handle control, std::string_view text);
std::string ControlText(Handle control);
bool StatusBarSetTextInternal(Handle statusBar, std::int32_t part, const QString& text);
QString StatusBarTextInternal(Handle statusBar, std::int32_t part);

// Windows virtual key code of a toolkit key event; 0 when it has none.
std::uint32_t VirtualKeyOf(int qtKey, bool keypad);

// After a modal dialog of the window's (or of none): that window (or the program's first one)
// is the active one again, as the window system makes it when a dialog closes (the offscreen
// platform does not).
void ReactivateOwner(HandleInfo* owner);

// The default GUI font.
const QFont& GuiFont();

// CP1252 runtime text <-> toolkit text.
QString ToQString(std::string_view cp1252);
std::string FromQString(const QString& text);

}  // namespace platform::qtui
