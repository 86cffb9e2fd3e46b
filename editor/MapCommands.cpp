// New, open, save and save as. Each command ends with the view and the track bars reset (new,
// open) and the document copied into the controls.
#include "editor/MapCommands.h"

#include <string>
#include <utility>

#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/History.h"
#include "editor/MapDocument.h"
#include "editor/MapFile.h"
#include "editor/Navigation.h"
#include "editor/Painting.h"
#include "editor/Selection.h"
#include "editor/SelectionInput.h"
#include "editor/TileSet.h"
#include "editor/Unsaved.h"
#include "gui/Gadget.h"
#include "gui/MessageRequester.h"
#include "gui/Requester.h"
#include "gui/Window.h"
#include "runtime/File.h"
#include "runtime/RtString.h"

namespace editor {
namespace {

constexpr std::int32_t kInitialScroll = -58;
constexpr std::string_view kMapPattern = "Karten (*.MAP)|*.MAP";

void ResetViewAndBars() {
    ResetZoom();
    View.ScrollX = kInitialScroll;
    View.ScrollY = kInitialScroll;
    gui::GadgetSetState(kBrushBar, 0);
    gui::GadgetSetState(kPlayerBar, 1);
}

// The document and its tile set are what the files hold from here on.
void MarkSaved() {
    HistoryMarkSaved();
    TileSets.Saved = Document.TileSet;
}

// Writes the tile set's image where needed, then the MAP file. Neither is written when one of
// the two files is read-only, so that they never come from different saves for that reason.
bool WriteMap(bool newName) {
    const bool image = TileSetNeedsWriting(newName);
    if (runtime::FileReadOnly(MapFilePath()) != 0 ||
        (image && runtime::FileReadOnly(TileSetPath()) != 0)) {
        return false;
    }
    runtime::FolderCreate(kMapFolder);
    if (image && WriteTileSetImage(TileSetPath()) == 0) return false;
    if (WriteMapFile() == 0) return false;
    MarkSaved();
    return true;
}

void ShowSaveFailed(const std::string& path) {
    ShowStatus("Karte konnte nicht gespeichert werden: " + path);
}

}  // namespace

void NewMap() {
    EndStroke();
    DropFloatingFields();
    EndSelection();
    ResetDocument();
    MakeBlackTileSet();
    ResetViewAndBars();
    ShowStatus("");
    HistoryClear();
    TileSets.Saved = Document.TileSet;
    FollowTileSetFile("");
    RefreshControls();
}

void LoadMap() { LoadMapFrom(MapFilePath()); }

void LoadMapFrom(std::string_view path) {
    EndStroke();
    DropFloatingFields();
    EndSelection();
    RefreshControls();
    const bool found = ReadMapFileFrom(path) != 0;
    LoadTileSetFile(TileSetPath());
    FollowTileSetFile(TileSetPath());
    ResetViewAndBars();
    // The document is defined either way; the user learns why the map came up empty.
    ShowStatus(found ? std::string() : "Karte nicht gefunden: " + std::string(path));
    HistoryClear();
    TileSets.Saved = Document.TileSet;
    RefreshControls();
}

bool SaveMap() {
    RefreshControls();
    const bool saved = WriteMap(false);
    // A failed save leaves the previous files as they were; say so rather than stay silent.
    if (saved) {
        ShowStatus("Gespeichert: " + MapFilePath());
    } else {
        ShowSaveFailed(MapFilePath());
    }
    RefreshControls();
    return saved;
}

void SaveAsCommand() {
    gui::UpdateWindow(Handles.MainWindow);
    const std::string chosen =
        gui::RequesterSaveFile("Karte speichern unter", MapFilePath(), kMapPattern, 0);
    const std::string file = gui::PathFilePart(chosen);
    const std::string name = WithoutMapExtension(file).value_or(file);  // other names stay whole
    if (name.empty()) return;
    // Maps always go to "Karten", whatever folder was browsed to; a map of that name there is
    // not replaced unasked (the requester asked about the file it showed).
    const std::string target = MapFilePathOf(name);
    if (runtime::FileExists(target) != 0 && runtime::FileSame(chosen, target) == 0 &&
        gui::RequesterMessage(kEditorTitle, target + " gibt es schon. Ersetzen?",
                              "Ersetzen|Abbrechen", 1, 1) != 0) {
        return;
    }
    std::string previous = std::exchange(Document.FileName, name);
    RefreshControls();
    if (WriteMap(true)) {
        ShowStatus("Gespeichert: " + target +
                   (runtime::FileSame(chosen, target) != 0
                        ? std::string()
                        : runtime::Cp1252(", nicht im gewählten Ordner")));
    } else {
        Document.FileName = std::move(previous);
        ShowSaveFailed(target);
    }
    RefreshControls();
}

void OpenMapCommand() {
    gui::UpdateWindow(Handles.MainWindow);
    if (!ConfirmDiscard()) return;
    const std::string result = gui::RequesterOpenFile("Karte laden", "Karten\\", kMapPattern, 0);
    const std::string chosenFile = gui::PathFilePart(result);
    if (runtime::StringEqual(chosenFile, "") == 0) {
        Document.FileName = runtime::StringLeft(chosenFile, runtime::StringLength(chosenFile) - 4);
        LoadMap();
    }
}

}  // namespace editor
