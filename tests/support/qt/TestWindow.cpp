// The test window on Qt: a plain widget, grabbed through the toolkit, as are the client areas
// of the platform layer's windows.
#include "support/TestWindow.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "platform/QtApp.h"
#include "platform/UiTesting.h"

namespace testing_support {

struct TestWindow::Parts {
    QWidget widget;
};

TestWindow::TestWindow(int width, int height) {
    platform::EnsureApplication();
    parts_ = std::make_unique<Parts>();
    parts_->widget.resize(width, height);
}

TestWindow::~TestWindow() = default;

std::intptr_t TestWindow::Handle() const { return reinterpret_cast<std::intptr_t>(&parts_->widget); }

void TestWindow::Show() { parts_->widget.show(); }

void TestWindow::Hide() { parts_->widget.hide(); }

void TestWindow::Resize(int width, int height) { parts_->widget.resize(width, height); }

int TestWindow::ChildCount() const {
    return static_cast<int>(parts_->widget.findChildren<QWidget*>().size());
}

namespace {

ShownPicture Grabbed(QWidget& widget) {
    const QImage image = widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    return ShownPicture::Of(image.width(), image.height(),
                            [&image](int x, int y) { return image.pixel(x, y) & 0xFFFFFFu; });
}

}  // namespace

ShownPicture TestWindow::Grab() {
    ProcessEvents();
    return Grabbed(parts_->widget);
}

ShownPicture GrabClient(std::intptr_t window) {
    return Grabbed(*static_cast<QWidget*>(platform::HandleWidget(window)));
}

void ProcessEvents() { QApplication::processEvents(); }

}  // namespace testing_support
