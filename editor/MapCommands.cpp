// New, open and save. Each command ends with the view and the track bars reset (new, open) and
// the document copied into the controls.
#include "editor/MapCommands.h"

#include <string>

#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/MapDocument.h"
#include "editor/MapFile.h"
#include "editor/Navigation.h"
#include "gui/Gadget.h"
#include "gui/Requester.h"
#include "gui/Window.h"
#include "runtime/RtString.h"
#include "screen/Sprite.h"

namespace editor {
namespace {

constexpr std::int32_t kInitialScroll = -58;

void ResetViewAndBars() {
    ResetZoom();
    View.ScrollX = kInitialScroll;
    View.ScrollY = kInitialScroll;
    gui::GadgetSetState(kBrushBar, 0);
    gui::GadgetSetState(kPlayerBar, 1);
}

}  // namespace

void NewMap() {
    ResetDocument();
    screen::SpriteCreate(kTileSet, Document.FieldWidth, 2 * Document.FieldHeight);
    ++Handles.TileSetVersion;
    Document.TileSetWidth = screen::SpriteWidth(kTileSet);
    ResetViewAndBars();
    ShowStatus("");
    RefreshControls();
}

void LoadMap() {
    RefreshControls();
    const bool found = ReadMapFile() != 0;
    screen::SpriteLoad(kTileSet, TileSetPath());
    ++Handles.TileSetVersion;
    // The sprite's width is that of its clip rectangle, which the map view narrowed to one
    // field; when the PNG was missing and the old tile set stays, take its whole width again.
    screen::SpriteClip(kTileSet, -1, -1, -1, -1);
    Document.TileSetWidth = screen::SpriteWidth(kTileSet);
    ResetViewAndBars();
    // The document is defined either way; the user learns why the map came up empty.
    ShowStatus(found ? std::string() : "Karte nicht gefunden: " + MapFilePath());
    RefreshControls();
}

void SaveMap() {
    RefreshControls();
    const bool saved = WriteMapFile() != 0;
    // A failed save leaves the previous file as it was; say so rather than stay silent.
    ShowStatus(saved ? std::string() : "Karte konnte nicht gespeichert werden: " + MapFilePath());
    RefreshControls();
}

void OpenMapCommand() {
    gui::UpdateWindow(Handles.MainWindow);
    const std::string result =
        gui::RequesterOpenFile("Karte laden", "Karten\\", "Karten (*.MAP)|*.MAP", 0);
    const std::string chosenFile = gui::PathFilePart(result);
    if (runtime::StringEqual(chosenFile, "") == 0) {
        Document.FileName = runtime::StringLeft(chosenFile, runtime::StringLength(chosenFile) - 4);
        LoadMap();
    }
}

}  // namespace editor
