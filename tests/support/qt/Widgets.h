// The Qt widgets behind handles, for the few tests of a detail that only the Qt toolkit has.
#pragma once

#include <QWidget>
#include <QWindow>

#include "gui/Gadget.h"
#include "gui/Window.h"
#include "platform/UiTesting.h"

namespace testing_support {

inline QWidget* HandleWidget(std::intptr_t handle) {
    return static_cast<QWidget*>(platform::HandleWidget(handle));
}

inline QWidget* GadgetWidget(std::int32_t number) {
    return HandleWidget(gui::GadgetHandleOf(number));
}

inline QWidget* TopWidget(std::int32_t window) {
    return static_cast<QWidget*>(platform::TopLevelWidget(gui::WindowHandleOf(window)));
}

inline QWindow* TopQWindow(std::int32_t window) {
    return static_cast<QWindow*>(platform::TopLevelQWindow(gui::WindowHandleOf(window)));
}

}  // namespace testing_support
