// The editor's main window as the map editor builds it: one of each control at the sizes
// and with the texts it uses, filled with the values of a new map.
#pragma once

#include <string>

#include "gui/Gadget.h"
#include "gui/Menu.h"
#include "gui/StatusBar.h"
#include "gui/Window.h"
#include "runtime/RtString.h"

namespace testing_support {

struct LayoutGadget {
    int number;
    char kind;  // 'f' frame, 'g' group box, 't' text, 's' string, 'd' digits, 'b' track bar, 'c'
                // check box
    int x, y, w, h;
    const char* text;  // UTF-8
    int minimum = 0, maximum = 0;
};

inline const LayoutGadget kEditorGadgets[] = {
    {0, 'f', 0, 0, 508, 508, ""},
    {3, 't', 535, 43, 100, 20, "Feldbreite in Pixel:"},
    {4, 't', 535, 63, 100, 20, "Feldhöhe in Pixel:"},
    {5, 't', 535, 83, 100, 20, "Felder in X von 0 bis"},
    {6, 't', 535, 103, 100, 20, "Felder in Y von 0 bis"},
    {7, 't', 535, 123, 100, 20, "Anzahl der Spieler:"},
    {10, 't', 535, 143, 120, 20, "Anzahl der Slots/Bälle:"},
    {11, 't', 535, 250, 100, 20, "Spieler-Position X:"},
    {12, 't', 535, 270, 100, 20, "Spieler-Position Y:"},
    {8, 't', 535, 296, 250, 20, "< Mit ENTER die Spieler-Position setzen >"},
    {13, 't', 710, 325, 40, 20, "0°"},
    {9, 't', 525, 460, 200, 20, "Aktueller Pinsel: 0"},
    {1, 'g', 520, 180, 230, 185, "Eigenschaften von Spieler 1"},
    {2, 'g', 520, 0, 230, 175, "Eigenschaften der Karte"},
    {18, 's', 535, 20, 200, 20, "Neue Karte"},
    {14, 'd', 670, 40, 65, 20, "64"},
    {15, 'd', 670, 60, 65, 20, "64"},
    {16, 'd', 670, 80, 65, 20, "5"},
    {17, 'd', 670, 100, 65, 20, "5"},
    {19, 'd', 670, 120, 65, 20, "1"},
    {22, 'd', 670, 140, 32, 20, "8"},
    {23, 'd', 703, 140, 32, 20, "4"},
    {20, 'd', 670, 246, 65, 20, "0"},
    {21, 'd', 670, 266, 65, 20, "0"},
    {25, 'b', 527, 200, 216, 32, "", 1, 64},
    {26, 'b', 527, 320, 171, 32, "", 0, 72},
    {24, 'b', 517, 480, 216, 32, "", 0, 31},
    {27, 'c', 525, 400, 200, 32, "Z-Maske zeigen"},
};

// Opens window 0 and builds the editor's window in it. Returns false when the window failed.
inline bool BuildEditorLayout() {
    using runtime::Cp1252;
    const gui::WindowHandle window = gui::WindowOpen(
        0, 0, 0, 760, 560, Cp1252("Veldrane Murmelwald Karteneditor 1.0 <NONAME>"), 0xCA0001);
    if (window == 0) return false;
    gui::MenuCreate(0, window);
    gui::MenuTitle("Datei");
    gui::MenuItem(0, "Neu");
    gui::MenuItem(1, Cp1252("Öffnen..."));
    gui::MenuItem(2, "Speichern");
    gui::MenuSeparator();
    gui::MenuItem(3, "Editor beenden");
    gui::GadgetListCreate(window);
    for (const LayoutGadget& g : kEditorGadgets) {
        const std::string text = Cp1252(g.text);
        switch (g.kind) {
            case 'f':
                gui::GadgetFrame(g.number, g.x, g.y, g.w, g.h, text, 2);
                break;
            case 'g':
                gui::GadgetFrame(g.number, g.x, g.y, g.w, g.h, text);
                break;
            case 't':
                gui::GadgetText(g.number, g.x, g.y, g.w, g.h, text);
                break;
            case 's':
                gui::GadgetString(g.number, g.x, g.y, g.w, g.h, text);
                break;
            case 'd':
                gui::GadgetString(g.number, g.x, g.y, g.w, g.h, text, gui::STRING_DIGITS_ONLY);
                break;
            case 'b':
                gui::GadgetTrackBar(g.number, g.x, g.y, g.w, g.h, g.minimum, g.maximum,
                                    gui::TRACKBAR_TICKS);
                break;
            case 'c':
                gui::GadgetCheckBox(g.number, g.x, g.y, g.w, g.h, text);
                break;
            default:
                break;
        }
    }
    gui::WindowAddShortcut(0, 13, 4);
    gui::StatusBarCreate(0, window);
    for (int width : {55, 55, 400, 250}) gui::StatusBarField(width);
    gui::UpdateWindow(window);
    return true;
}

}  // namespace testing_support
