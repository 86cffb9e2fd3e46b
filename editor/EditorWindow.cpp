// Layout of the editor window and RefreshControls.
#include "editor/EditorWindow.h"

#include "editor/EditorState.h"
#include "editor/History.h"
#include "editor/MapDocument.h"
#include "editor/Navigation.h"
#include "editor/Selection.h"
#include "editor/SelectionInput.h"
#include "gui/Gadget.h"
#include "gui/Menu.h"
#include "gui/StatusBar.h"
#include "gui/Window.h"
#include "runtime/RtString.h"
#include "screen/Drawing.h"
#include "screen/Screen.h"

namespace editor {
namespace {

constexpr std::int32_t kWindowFlags = gui::WINDOW_CAPTION | gui::WINDOW_SYSTEM_MENU |
                                      gui::WINDOW_MINIMIZE_BOX | gui::WINDOW_CENTER_SCREEN;
constexpr std::int32_t kDigitsOnly = gui::STRING_DIGITS_ONLY;
constexpr std::int32_t kTicks = gui::TRACKBAR_TICKS;

std::int32_t CurrentPlayer() { return gui::GadgetGetState(kPlayerBar); }

void CreateGadgets() {
    using runtime::Cp1252;
    gui::GadgetFrame(kViewBorder, 0, 0, 508, 508, "", gui::FRAME_THIN_SUNKEN);
    gui::GadgetText(3, 535, 43, 100, 20, "Feldbreite in Pixel:");
    gui::GadgetText(4, 535, 63, 100, 20, Cp1252("Feldhöhe in Pixel:"));
    gui::GadgetText(5, 535, 83, 100, 20, "Felder in X von 0 bis");
    gui::GadgetText(6, 535, 103, 100, 20, "Felder in Y von 0 bis");
    gui::GadgetText(7, 535, 123, 100, 20, "Anzahl der Spieler:");
    gui::GadgetText(10, 535, 143, 120, 20, Cp1252("Anzahl der Slots/Bälle:"));
    gui::GadgetText(11, 535, 250, 100, 20, "Spieler-Position X:");
    gui::GadgetText(12, 535, 270, 100, 20, "Spieler-Position Y:");
    gui::GadgetText(8, 535, 296, 250, 20, "< Mit ENTER die Spieler-Position setzen >");
    gui::GadgetText(kDirectionText, 710, 325, 40, 20, "");
    gui::GadgetText(kBrushText, 525, 460, 200, 20, "");
    gui::GadgetFrame(kPlayerFrame, 520, 180, 230, 185, "");
    gui::GadgetFrame(kMapFrame, 520, 0, 230, 175, "Eigenschaften der Karte");
    gui::GadgetString(kMapNameField, 535, 20, 200, 20, "");
    gui::GadgetString(kFieldWidthField, 670, 40, 65, 20, "", kDigitsOnly);
    gui::GadgetString(kFieldHeightField, 670, 60, 65, 20, "", kDigitsOnly);
    gui::GadgetString(kLastFieldXField, 670, 80, 65, 20, "", kDigitsOnly);
    gui::GadgetString(kLastFieldYField, 670, 100, 65, 20, "", kDigitsOnly);
    gui::GadgetString(kPlayerCountField, 670, 120, 65, 20, "", kDigitsOnly);
    gui::GadgetString(kSlotCountField, 670, 140, 32, 20, "", kDigitsOnly);
    gui::GadgetString(kBallCountField, 703, 140, 32, 20, "", kDigitsOnly);
    gui::GadgetString(kPlayerXField, 670, 246, 65, 20, "", kDigitsOnly);
    gui::GadgetString(kPlayerYField, 670, 266, 65, 20, "", kDigitsOnly);
    gui::GadgetTrackBar(kPlayerBar, 527, 200, 216, 32, 1, 64, kTicks);
    gui::GadgetTrackBar(kDirectionBar, 527, 320, 171, 32, 0, 72, kTicks);
    gui::GadgetTrackBar(kBrushBar, 517, 480, 216, 32, 0, 31, kTicks);
    gui::GadgetCheckBox(kZMaskBox, 525, 400, 200, 32, "Z-Maske zeigen");
}

// The text after a tab is shown as the item's shortcut.
void CreateMenu() {
    using runtime::Cp1252;
    gui::MenuCreate(kMainMenu, Handles.MainWindow);
    gui::MenuTitle("Datei");
    gui::MenuItem(kItemNew, "Neu\tStrg+N");
    gui::MenuItem(kItemOpen, Cp1252("Öffnen...\tStrg+O"));
    gui::MenuItem(kItemSave, "Speichern\tStrg+S");
    gui::MenuItem(kItemSaveAs, "Speichern unter...\tStrg+Umschalt+S");
    gui::MenuSeparator();
    gui::MenuItem(kItemLoadTileSet, "Kachelsatz laden...");
    gui::MenuSeparator();
    gui::MenuItem(kItemQuit, "Editor beenden\tStrg+Q");
    gui::MenuTitle("Bearbeiten");
    gui::MenuItem(kItemUndo, Cp1252("Rückgängig\tStrg+Z"));
    gui::MenuItem(kItemRedo, "Wiederholen\tStrg+Y");
    AddEditItems();
}

void AddShortcuts() {
    constexpr std::int32_t kShift = gui::KEY_SHIFT;
    constexpr std::int32_t kControl = gui::KEY_CONTROL;
    const std::pair<std::int32_t, std::int32_t> shortcuts[] = {
        {kControl | 'N', kItemNew},  {kControl | 'O', kItemOpen},
        {kControl | 'S', kItemSave}, {kControl | kShift | 'S', kItemSaveAs},
        {kControl | 'Q', kItemQuit}, {kControl | 'Z', kItemUndo},
        {kControl | 'Y', kItemRedo}, {kControl | kShift | 'Z', kItemRedo},
    };
    for (const auto& [key, item] : shortcuts) gui::WindowAddShortcut(kMainWindow, key, item);
}

}  // namespace

std::string EditorTitle() {
    return std::string(kEditorTitle) + " <" + Document.FileName + ">" +
           (HistoryChanged() ? " *" : "");
}

void ShowTitle() {
    gui::WindowSetTitle(kMainWindow, EditorTitle());
    Shown.TitleChanged = HistoryChanged();
}

namespace {

void ShowItemState(std::int32_t item, bool canAct, bool* greyed) {
    if (*greyed != canAct) return;
    *greyed = !canAct;
    gui::MenuEnableItem(kMainMenu, item, canAct);
}

}  // namespace

void ShowMenuState() {
    ShowItemState(kItemUndo, HistoryCanUndo() || Selection.Floats != Floating::None,
                  &Shown.UndoGreyed);
    ShowItemState(kItemRedo, HistoryCanRedo(), &Shown.RedoGreyed);
}

void BuildEditorWindow() {
    Handles.ViewFont = screen::FontLoad(kViewFont, "Courier", 18, screen::kFontBold);
    runtime::ArrayDim(Document.Players, 1);
    runtime::ArrayDimMulti(Document.Fields, {1, 1});

    Handles.MainWindow = gui::WindowOpen(kMainWindow, 0, 0, 760, 560, kEditorTitle, kWindowFlags);

    CreateMenu();
    BuildViewMenu();  // "Ansicht" after "Datei" and "Bearbeiten"
    BuildToolMenu();

    gui::GadgetListCreate(Handles.MainWindow);
    CreateGadgets();

    gui::WindowAddShortcut(kMainWindow, gui::KEYCODE_ENTER, kItemSetPlayerPosition);
    AddShortcuts();
    AddViewShortcuts(kMainWindow);
    AddToolShortcuts();

    gui::StatusBarCreate(kStatusBar, Handles.MainWindow);
    for (std::int32_t width : {55, 55, 400, 250}) gui::StatusBarField(width);

    ShowMenuState();
    gui::UpdateWindow(Handles.MainWindow);
    screen::ScreenOpenWindowed(Handles.MainWindow, kViewLeft, kViewTop, kViewSize, kViewSize, 0, 0,
                               0);
}

void RefreshControls() {
    using runtime::StringFromLong;
    gui::UpdateWindow(Handles.MainWindow);
    ShowTitle();
    gui::GadgetSetText(kFieldWidthField, StringFromLong(Document.FieldWidth));
    gui::GadgetSetText(kFieldHeightField, StringFromLong(Document.FieldHeight));
    gui::GadgetSetText(kLastFieldXField, StringFromLong(Document.LastFieldX));
    gui::GadgetSetText(kLastFieldYField, StringFromLong(Document.LastFieldY));
    gui::GadgetSetText(kPlayerCountField, StringFromLong(Document.PlayerCount));
    gui::GadgetSetText(kMapNameField, Document.MapName);
    gui::GadgetSetText(kPlayerXField, StringFromLong(Document.Players(CurrentPlayer()).X));
    gui::GadgetSetText(kPlayerYField, StringFromLong(Document.Players(CurrentPlayer()).Y));
    gui::GadgetSetText(kSlotCountField, StringFromLong(Document.SlotCount));
    gui::GadgetSetText(kBallCountField, StringFromLong(Document.BallCount));
    gui::GadgetSetState(kDirectionBar, Document.Players(CurrentPlayer()).Direction / 5);
    const std::int32_t direction = Document.Players(CurrentPlayer()).Direction;
    gui::GadgetSetText(kDirectionText, direction == RandomDirection
                                           ? std::string("Zufall")
                                           : StringFromLong(direction) + runtime::Cp1252("°"));
    gui::GadgetSetText(kBrushText,
                       "Aktueller Pinsel: " + StringFromLong(gui::GadgetGetState(kBrushBar)));
    gui::GadgetSetText(kPlayerFrame,
                       "Eigenschaften von Spieler " + StringFromLong(CurrentPlayer()));
    gui::UpdateWindow(Handles.MainWindow);
}

void ShowStatus(std::string_view text) { gui::StatusBarText(kStatusBar, kMessageField, text); }

}  // namespace editor
