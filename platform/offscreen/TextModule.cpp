// The map tool's text module: the text rasterizer with an application object of its own on the
// offscreen platform, whatever QT_QPA_PLATFORM says, so that no display is ever asked for.
// Qt's own messages (font matching, missing runtime folders) are kept off the tool's output.
#include "platform/TextModule.h"

#include <QGuiApplication>

#include "platform/QtApp.h"
#include "platform/Text.h"

namespace platform {
namespace {

QGuiApplication* gApplication = nullptr;

void Silent(QtMsgType, const QMessageLogContext&, const QString&) {}

}  // namespace

// The text rasterizer's application object.
void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(Silent);
    static int argc = 1;
    static char name[] = "maptool";
    static char* argv[] = {name, nullptr};
    gApplication = new QGuiApplication(argc, argv);
}

}  // namespace platform

extern "C" {

__attribute__((visibility("default"))) std::int32_t MapToolTextDraw(
    std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::int32_t pitch,
    std::int32_t x, std::int32_t y, const char* cp1252Text, std::uint32_t rgb) {
    const platform::TextTarget target{pixels, width, height, pitch};
    return platform::TextDraw(target, platform::TextSystemFont(), x, y, cp1252Text, rgb, false, 0);
}

__attribute__((visibility("default"))) void MapToolTextEnd() {
    delete platform::gApplication;
    platform::gApplication = nullptr;
}
}
