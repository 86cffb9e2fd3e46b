// A user's input for tests of windows and gadgets: clicks, keys, drags and cursor moves,
// injected at the top-level QWindow where the toolkit's own input arrives, so they take the
// same path as real input. Run with QT_QPA_PLATFORM=offscreen.
#pragma once

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <string>
#include <vector>

#include "gui/Gadget.h"
#include "gui/Window.h"
#include "platform/UiTesting.h"

namespace testing_support {

inline QWidget* HandleWidget(std::intptr_t handle) {
    return static_cast<QWidget*>(platform::HandleWidget(handle));
}

// The widget of gadget `number`, or nullptr.
inline QWidget* GadgetWidget(std::int32_t number) {
    return HandleWidget(gui::GadgetHandleOf(number));
}

inline QWindow* TopQWindow(std::int32_t window) {
    return static_cast<QWindow*>(platform::TopLevelQWindow(gui::WindowHandleOf(window)));
}

inline QWidget* TopWidget(std::int32_t window) {
    return static_cast<QWidget*>(platform::TopLevelWidget(gui::WindowHandleOf(window)));
}

// A point of a window's client area in the coordinates of its top-level QWindow.
inline QPoint ClientToWindow(std::int32_t window, QPoint client) {
    return HandleWidget(gui::WindowHandleOf(window))->mapTo(TopWidget(window), client);
}

// Waits until the window is shown and active, as a user would find it.
inline bool WaitForWindow(std::int32_t window) {
    QWindow* top = TopQWindow(window);
    return top != nullptr && QTest::qWaitForWindowExposed(top) && QTest::qWaitForWindowActive(top);
}

inline void MouseMove(std::int32_t window, QPoint client) {
    QTest::mouseMove(TopQWindow(window), ClientToWindow(window, client));
}

inline void Click(std::int32_t window, QPoint client, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(TopQWindow(window), button, {}, ClientToWindow(window, client));
}

inline void Press(std::int32_t window, QPoint client, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(TopQWindow(window), button, {}, ClientToWindow(window, client));
}

inline void Release(std::int32_t window, QPoint client, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(TopQWindow(window), button, {}, ClientToWindow(window, client));
}

inline void DoubleClick(std::int32_t window, QPoint client) {
    QTest::mouseDClick(TopQWindow(window), Qt::LeftButton, {}, ClientToWindow(window, client));
}

// The centre of a gadget in its window's client area.
inline QPoint GadgetCentre(std::int32_t gadget) {
    const QWidget* widget = GadgetWidget(gadget);
    return widget->geometry().center();
}

inline void ClickGadget(std::int32_t window, std::int32_t gadget) {
    Click(window, GadgetCentre(gadget));
}

inline void Key(std::int32_t window, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(TopQWindow(window), key, modifiers);
}

inline void Type(std::int32_t window, const std::string& text) {
    for (const char c : text) QTest::keyClick(TopQWindow(window), c);
}

// Puts the global cursor on a client point of a window (QCursor::pos follows).
inline void CursorTo(std::int32_t window, QPoint client) {
    QCursor::setPos(HandleWidget(gui::WindowHandleOf(window))->mapToGlobal(client));
}

// Where a track bar gadget's handle is, in its window's client area, for a value.
inline QPoint TrackBarHandle(std::int32_t gadget, int value) {
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
    return slider->mapToParent(handle.center());
}

// Chooses a menu item as a user does: a click on the bar's title, then one on the item. The
// item is named by its text without the shortcut shown after a tab.
inline bool ChooseMenuItem(std::int32_t window, const QString& title, const QString& item) {
    auto* bar = TopWidget(window)->findChild<QMenuBar*>();
    if (bar == nullptr) return false;
    QAction* titleAction = nullptr;
    for (QAction* action : bar->actions()) {
        if (action->text() == title) titleAction = action;
    }
    if (titleAction == nullptr) return false;
    const QPoint titlePoint =
        bar->mapTo(TopWidget(window), bar->actionGeometry(titleAction).center());
    QTest::mouseClick(TopQWindow(window), Qt::LeftButton, {}, titlePoint);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (popup == nullptr) return false;
    for (QAction* action : popup->actions()) {
        if (action->text().section(QLatin1Char('\t'), 0, 0) == item) {
            QTest::mouseClick(popup->windowHandle(), Qt::LeftButton, {},
                              popup->actionGeometry(action).center());
            return true;
        }
    }
    return false;
}

}  // namespace testing_support
