// The application object, made once per process on first use.
#include <QApplication>

#include "platform/QtApp.h"

namespace platform {

void EnsureApplication() {
    if (QCoreApplication::instance() != nullptr) return;
    // The program takes no command line: the toolkit gets only a program name.
    static int argc = 1;
    static char name[] = "mapeditor";
    static char* argv[] = {name, nullptr};
    // Desktops match the windows to the installed desktop entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(MAPEDITOR_APP_ID));
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

}  // namespace platform
