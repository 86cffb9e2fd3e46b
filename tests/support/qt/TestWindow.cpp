// The test window on Qt: a plain widget, grabbed through the toolkit.
#include "support/TestWindow.h"

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "platform/QtApp.h"

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

ShownPicture TestWindow::Grab() {
    ProcessEvents();
    const QImage image = parts_->widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ShownPicture picture;
    picture.width = image.width();
    picture.height = image.height();
    picture.pixels.reserve(static_cast<std::size_t>(picture.width) * picture.height);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) picture.pixels.push_back(image.pixel(x, y) & 0xFFFFFFu);
    }
    return picture;
}

void ProcessEvents() { QApplication::processEvents(); }

}  // namespace testing_support
