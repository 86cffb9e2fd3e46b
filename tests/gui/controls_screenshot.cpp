// Writes a picture of the editor's window (one of each control at the sizes the editor
// uses) to the PNG file named on the command line, for looking at the controls' look.
// Run it with QT_QPA_PLATFORM=offscreen.
#include <QApplication>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <cstdio>

#include "EditorLayout.h"
#include "gui/Gui.h"
#include "runtime/Runtime.h"
#include "support/GuiInput.h"
#include "support/qt/Widgets.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s picture.png\n", argv[0]);
        return 2;
    }
    gui::GuiInstall();
    runtime::RuntimeStart();
    if (!testing_support::BuildEditorLayout()) return 1;
    testing_support::WaitForWindow(0);
    gui::GadgetSetState(27, 1);
    gui::GadgetSetState(25, 2);
    QTest::qWait(50);
    const bool saved =
        testing_support::TopWidget(0)->grab().save(QString::fromLocal8Bit(argv[1]), "PNG");
    runtime::RuntimeEnd();
    return saved ? 0 : 1;
}
