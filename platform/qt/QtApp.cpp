// The application object, made once per process on first use.
#include "platform/QtApp.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
    // The toolkit's own texts (the file dialogs' labels and buttons) in German, like the
    // program's; without the translation package they stay English.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    static QTranslator* german = [] {
        auto* translator = new QTranslator(app);
        if (translator->load(QLocale(QLocale::German), QStringLiteral("qtbase"),
                             QStringLiteral("_"),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            QCoreApplication::installTranslator(translator);
        }
        return translator;
    }();
    (void)german;
}

}  // namespace platform
