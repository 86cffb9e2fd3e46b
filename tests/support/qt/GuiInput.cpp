// The test input on Qt: QTest's events given to the top-level QWindow, where the toolkit's
// own input arrives.
#include "support/GuiInput.h"

#include <QApplication>
#include <QExposeEvent>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QStyle>
#include <QScreen>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

#include "gui/Gadget.h"
#include "gui/Window.h"
#include "platform/QtApp.h"
#include "platform/UiTesting.h"

namespace testing_support {
namespace {

QWidget* HandleWidget(std::intptr_t handle) {
    return static_cast<QWidget*>(platform::HandleWidget(handle));
}

QWidget* GadgetWidget(std::int32_t number) { return HandleWidget(gui::GadgetHandleOf(number)); }

QWindow* TopQWindow(std::int32_t window) {
    return static_cast<QWindow*>(platform::TopLevelQWindow(gui::WindowHandleOf(window)));
}

QWidget* TopWidget(std::int32_t window) {
    return static_cast<QWidget*>(platform::TopLevelWidget(gui::WindowHandleOf(window)));
}

QPoint ToQt(Point point) { return {point.x(), point.y()}; }
Point FromQt(QPoint point) { return {point.x(), point.y()}; }

// A point of a window's client area in the coordinates of its top-level QWindow.
QPoint ClientToWindow(std::int32_t window, Point client) {
    return HandleWidget(gui::WindowHandleOf(window))->mapTo(TopWidget(window), ToQt(client));
}

Qt::MouseButton QtButton(Button button) {
    switch (button) {
        case Button::Right:
            return Qt::RightButton;
        case Button::Middle:
            return Qt::MiddleButton;
        case Button::Left:
            break;
    }
    return Qt::LeftButton;
}

Qt::KeyboardModifiers QtModifiers(Modifiers modifiers) {
    Qt::KeyboardModifiers qt;
    if (modifiers & kShift) qt |= Qt::ShiftModifier;
    if (modifiers & kControl) qt |= Qt::ControlModifier;
    if (modifiers & kAlt) qt |= Qt::AltModifier;
    return qt;
}

// The toolkit's key for a virtual key; the keypad's keys carry the keypad modifier.
Qt::Key QtKey(int key, Qt::KeyboardModifiers* modifiers) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return static_cast<Qt::Key>(key);
    if (key >= gui::KEYCODE_NUMPAD_0 && key <= gui::KEYCODE_NUMPAD_0 + 9) {
        *modifiers |= Qt::KeypadModifier;
        return static_cast<Qt::Key>(Qt::Key_0 + key - gui::KEYCODE_NUMPAD_0);
    }
    if (key >= 0x70 && key <= 0x87) return static_cast<Qt::Key>(Qt::Key_F1 + key - 0x70);
    switch (key) {
        case gui::KEYCODE_NUMPAD_PLUS:
            *modifiers |= Qt::KeypadModifier;
            return Qt::Key_Plus;
        case gui::KEYCODE_NUMPAD_MINUS:
            *modifiers |= Qt::KeypadModifier;
            return Qt::Key_Minus;
        case gui::KEYCODE_PLUS:
            return Qt::Key_Plus;
        case gui::KEYCODE_MINUS:
            return Qt::Key_Minus;
        case gui::KEYCODE_ENTER:
            return Qt::Key_Return;
        case gui::KEYCODE_ESCAPE:
            return Qt::Key_Escape;
        case gui::KEYCODE_LEFT:
            return Qt::Key_Left;
        case gui::KEYCODE_UP:
            return Qt::Key_Up;
        case gui::KEYCODE_RIGHT:
            return Qt::Key_Right;
        case gui::KEYCODE_DOWN:
            return Qt::Key_Down;
        case gui::KEYCODE_DELETE:
            return Qt::Key_Delete;
        case kKeyTab:
            return Qt::Key_Tab;
        case kKeySpace:
            return Qt::Key_Space;
        case kKeyHome:
            return Qt::Key_Home;
        case kKeyEnd:
            return Qt::Key_End;
        default:
            break;
    }
    return Qt::Key_unknown;
}

}  // namespace

bool WaitForWindow(std::int32_t window) {
    QWindow* top = TopQWindow(window);
    return top != nullptr && QTest::qWaitForWindowExposed(top) && QTest::qWaitForWindowActive(top);
}

bool ActivateWindow(std::int32_t window) {
    QWindow* top = TopQWindow(window);
    if (top == nullptr) return false;
    top->requestActivate();
    return QTest::qWaitForWindowActive(top);
}

void ProcessEventsFor(int ms) {
    if (ms <= 0) {
        QApplication::processEvents();
    } else {
        QTest::qWait(ms);
    }
}

void RunLater(int ms, std::function<void()> action) {
    platform::EnsureApplication();  // a timer needs the application's event loop
    QTimer::singleShot(ms, std::move(action));
}

void MouseMove(std::int32_t window, Point client) {
    QTest::mouseMove(TopQWindow(window), ClientToWindow(window, client));
}

void Click(std::int32_t window, Point client, Button button, Modifiers modifiers) {
    QTest::mouseClick(TopQWindow(window), QtButton(button), QtModifiers(modifiers),
                      ClientToWindow(window, client));
}

void Press(std::int32_t window, Point client, Button button) {
    QTest::mousePress(TopQWindow(window), QtButton(button), {}, ClientToWindow(window, client));
}

void Release(std::int32_t window, Point client, Button button) {
    QTest::mouseRelease(TopQWindow(window), QtButton(button), {}, ClientToWindow(window, client));
}

void ReleaseOutside(std::int32_t window) {
    QTest::mouseRelease(TopQWindow(window), Qt::LeftButton, {}, {-50, -50});
}

void DoubleClick(std::int32_t window, Point client) {
    QTest::mouseDClick(TopQWindow(window), Qt::LeftButton, {}, ClientToWindow(window, client));
}

void NextPressWithinDoubleClickTime(bool within) {
    // QTest moves its clock on by the double-click time after every release.
    if (within) {
        QTest::lastMouseTimestamp -= QTest::mouseDoubleClickInterval;
    } else {
        QTest::lastMouseTimestamp += QTest::mouseDoubleClickInterval;
    }
}

void Wheel(std::int32_t window, Point client, int delta, Modifiers modifiers, bool horizontal) {
    QWindow* top = TopQWindow(window);
    const QPoint local = ClientToWindow(window, client);
    QWheelEvent event(local, top->mapToGlobal(local), QPoint(),
                      horizontal ? QPoint(delta, 0) : QPoint(0, delta), Qt::NoButton,
                      QtModifiers(modifiers), Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(top, &event);
}

void Key(std::int32_t window, int key, Modifiers modifiers) {
    Qt::KeyboardModifiers qt = QtModifiers(modifiers);
    const Qt::Key qtKey = QtKey(key, &qt);
    QTest::keyClick(TopQWindow(window), qtKey, qt);
}

void Type(std::int32_t window, const std::string& text) {
    for (const char c : text) QTest::keyClick(TopQWindow(window), c);
}

void CloseBox(std::int32_t window) { TopQWindow(window)->close(); }

void CursorTo(std::int32_t window, Point client) {
    QCursor::setPos(HandleWidget(gui::WindowHandleOf(window))->mapToGlobal(ToQt(client)));
}

void ParkCursor() {
    platform::UiInit();
    const QPoint corner = QGuiApplication::primaryScreen()->geometry().bottomRight();
    QCursor::setPos(corner);
    // The toolkit drops a move to the point of its last mouse event; a move there, over no
    // window, makes it the last one.
    qt_handleMouseEvent(nullptr, corner, corner, Qt::NoButton, Qt::NoButton, QEvent::MouseMove,
                        Qt::NoModifier, ++QTest::lastMouseTimestamp);
}

Point GadgetCentre(std::int32_t gadget) {
    return FromQt(GadgetWidget(gadget)->geometry().center());
}

void ClickGadget(std::int32_t window, std::int32_t gadget) {
    Click(window, GadgetCentre(gadget));
}

Point TrackBarHandle(std::int32_t gadget, int value) {
    auto* slider = static_cast<QSlider*>(GadgetWidget(gadget));
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = value;
    option.sliderValue = value;
    option.upsideDown =
        slider->orientation() == Qt::Horizontal
            ? slider->invertedAppearance() != (slider->layoutDirection() == Qt::RightToLeft)
            : !slider->invertedAppearance();
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.singleStep = slider->singleStep();
    option.pageStep = slider->pageStep();
    option.subControls = QStyle::SC_All;
    const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &option,
                                                         QStyle::SC_SliderHandle, slider);
    return FromQt(slider->mapToParent(handle.center()));
}

bool ChooseMenuItem(std::int32_t window, const std::string& title, const std::string& item) {
    auto* bar = TopWidget(window)->findChild<QMenuBar*>();
    if (bar == nullptr) return false;
    QAction* titleAction = nullptr;
    for (QAction* action : bar->actions()) {
        if (action->text() == QString::fromStdString(title)) titleAction = action;
    }
    if (titleAction == nullptr) return false;
    const QPoint titlePoint =
        bar->mapTo(TopWidget(window), bar->actionGeometry(titleAction).center());
    QTest::mouseClick(TopQWindow(window), Qt::LeftButton, {}, titlePoint);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (popup == nullptr) return false;
    for (QAction* action : popup->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) == QString::fromStdString(item)) {
            QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, {},
                              popup->actionGeometry(action).center());
            return true;
        }
    }
    return false;
}

bool MenuIsOpen() { return QApplication::activePopupWidget() != nullptr; }

bool RequesterIsOpen() { return QApplication::activeModalWidget() != nullptr; }

std::string WindowTitle(std::int32_t window) {
    QWindow* top = TopQWindow(window);
    return top == nullptr ? std::string() : top->title().toStdString();
}

void CloseOpenMenu() {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
}

std::vector<bool> MenuItemShownEnabled(std::int32_t window, const std::string& item) {
    std::vector<bool> states;
    auto* bar = TopWidget(window)->findChild<QMenuBar*>();
    if (bar == nullptr) return states;
    for (QAction* title : bar->actions()) {
        for (QAction* action : title->menu()->actions()) {
            if (action->text().section(QLatin1Char('\t'), 0, 0) == QString::fromStdString(item)) {
                states.push_back(action->isEnabled());
            }
        }
    }
    return states;
}

std::vector<std::string> MenuItemTexts(std::int32_t window) {
    std::vector<std::string> texts;
    for (QAction* title : TopWidget(window)->findChild<QMenuBar*>()->actions()) {
        for (QAction* action : title->menu()->actions()) {
            if (!action->isSeparator()) texts.push_back(action->text().toStdString());
        }
    }
    return texts;
}

int MenuBarHeight(std::int32_t window) {
    const auto* bar = TopWidget(window)->findChild<QMenuBar*>();
    return bar == nullptr || !bar->isVisible() ? 0 : bar->height();
}

bool HasCaption(std::int32_t window) {
    return (TopWidget(window)->windowFlags() & Qt::WindowTitleHint) != 0;
}

bool IsMaximised(std::int32_t window) { return TopWidget(window)->isMaximized(); }

bool IsSizable(std::int32_t window) {
    return TopWidget(window)->minimumSize() != TopWidget(window)->maximumSize();
}

void Restore(std::int32_t window) { TopWidget(window)->showNormal(); }

void HideWindow(std::int32_t window) { TopWidget(window)->hide(); }

bool ShowWindowAgain(std::int32_t window) {
    TopWidget(window)->show();
    return QTest::qWaitForWindowExposed(TopQWindow(window));
}

void Expose(std::int32_t window) {
    QWidget* client = HandleWidget(gui::WindowHandleOf(window));
    QExposeEvent expose(QRegion(QRect(QPoint(0, 0), client->size())));
    QCoreApplication::sendEvent(TopQWindow(window), &expose);
}

void GrowWindow(std::int32_t window, int byWidth, int byHeight) {
    QWidget* top = TopWidget(window);
    top->resize(top->width() + byWidth, top->height() + byHeight);
}

void MoveWindowOver(std::int32_t window, std::int32_t other, Point offset) {
    TopWidget(window)->move(TopWidget(other)->pos() + ToQt(offset));
}

void HideControl(std::intptr_t control) { HandleWidget(control)->hide(); }

namespace {
struct PaintFilter : QObject {
    int* paints = nullptr;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++*paints;
        return false;
    }
};
}  // namespace

PaintCount::PaintCount(std::intptr_t control) : control_(control) {
    auto* filter = new PaintFilter;
    filter->paints = &paints_;
    HandleWidget(control_)->installEventFilter(filter);
    hook_ = filter;
}

PaintCount::~PaintCount() { delete static_cast<PaintFilter*>(hook_); }

}  // namespace testing_support
