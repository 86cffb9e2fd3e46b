// The tile set's source, its sprite and its image file.
#include "editor/TileSet.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/History.h"
#include "editor/SafeFile.h"
#include "gui/FileWatch.h"
#include "gui/Requester.h"
#include "gui/Window.h"
#include "runtime/File.h"
#include "runtime/RtString.h"
#include "screen/Sprite.h"

namespace editor {

TileSetState TileSets;

namespace {

constexpr int kImageFile = 1;
// A writer's pieces come in a burst: the file is read once they have settled this long.
constexpr std::int64_t kSettleMs = 250;

// The whole file, or null when it cannot be opened.
std::shared_ptr<const std::vector<std::uint8_t>> ReadImageFile(std::string_view path) {
    auto bytes = std::make_shared<std::vector<std::uint8_t>>();
    if (runtime::FileReadWhole(path, *bytes) != runtime::WholeFile::Read) return nullptr;
    bytes->shrink_to_fit();
    return bytes;
}

std::int32_t WholeSpriteWidth() {
    screen::SpriteClip(kTileSet, -1, -1, -1, -1);
    return screen::SpriteWidth(kTileSet);
}

}  // namespace

void ShowTileSet() {
    ++TileSets.Version;
    const TileSetSource& source = Document.TileSet;
    if (source.Image) {
        screen::SpriteLoadMemory(kTileSet, *source.Image);
    } else if (source.BlackWidth > 0 && source.BlackHeight > 0) {
        screen::SpriteCreate(kTileSet, source.BlackWidth, source.BlackHeight);
    } else {
        screen::SpriteFree(kTileSet);
    }
    // The map view narrows the clip to one field; the width is the whole sprite's.
    screen::SpriteClip(kTileSet, -1, -1, -1, -1);
}

void MakeBlackTileSet() {
    Document.TileSet = TileSetSource{nullptr, Document.FieldWidth, 2 * Document.FieldHeight};
    ShowTileSet();
    Document.TileSetWidth = screen::SpriteWidth(kTileSet);
}

int LoadTileSetFile(std::string_view path) {
    auto image = ReadImageFile(path);
    if (image != nullptr) {
        ++TileSets.Version;
        Document.TileSet = TileSetSource{image, 0, 0};
        // What cannot be decoded is no tile set: nothing of it travels with the map.
        if (screen::SpriteLoadMemory(kTileSet, *image) == 0) Document.TileSet = TileSetSource{};
    }
    Document.TileSetWidth = WholeSpriteWidth();
    return image != nullptr ? 1 : 0;
}

bool TileSetNeedsWriting(bool newName) {
    return Document.TileSet.Image != nullptr && (newName || !(Document.TileSet == TileSets.Saved));
}

int WriteTileSetImage(std::string_view path) {
    const std::vector<std::uint8_t>& bytes = *Document.TileSet.Image;
    return WriteFileSafely(kImageFile, path, [&] {
        return runtime::FileWriteAll(kImageFile, bytes.data(), bytes.size()) != 0;
    });
}

void LoadTileSetCommand() {
    gui::UpdateWindow(Handles.MainWindow);
    const std::string path = gui::RequesterOpenFile(
        "Kachelsatz laden", "Karten\\", runtime::Cp1252("Kachelsätze (*.PNG)|*.PNG"), 0);
    if (path.empty()) return;
    const auto image = ReadImageFile(path);
    if (image != nullptr) ++TileSets.Version;
    if (image == nullptr || screen::SpriteLoadMemory(kTileSet, *image) == 0) {
        ShowTileSet();  // the failed load took the old sprite with it
        ShowStatus("Kein lesbares Bild: " + gui::PathFilePart(path));
        return;
    }
    ShowStatus("");
    // The same picture again is no change, but the file is followed from now on.
    if (Document.TileSet.Image == nullptr || !(*Document.TileSet.Image == *image)) {
        SetTileSet(TileSetSource{image, 0, 0});
        SetValue(&MapDocument::TileSetWidth, WholeSpriteWidth());
    }
    FollowTileSetFile(path);
}

void FollowTileSetFile(std::string_view path) {
    gui::FileUnwatch(TileSets.Watch);
    TileSets.File = std::string(path);
    TileSets.FileImage = Document.TileSet.Image;
    TileSets.ReloadAt = -1;
    TileSets.Watch = path.empty() ? 0 : gui::FileWatch(kMainWindow, path);
}

void KeepTileSetFile(std::int32_t event, std::int64_t now) {
    if (event == gui::EVENT_FILE_CHANGED && TileSets.Watch != 0 &&
        gui::WindowEventParam1() == TileSets.Watch) {
        TileSets.ReloadAt = now + kSettleMs;
    }
    if (TileSets.ReloadAt >= 0 && now >= TileSets.ReloadAt) {
        TileSets.ReloadAt = -1;
        ReloadTileSetFile();
    }
}

std::int64_t TileSetReloadWaitMs(std::int64_t now) {
    return TileSets.ReloadAt < 0 ? -1 : std::max<std::int64_t>(0, TileSets.ReloadAt - now);
}

void ReloadTileSetFile() {
    if (TileSets.File.empty() || Document.TileSet.Image != TileSets.FileImage) return;
    const std::string name = gui::PathFilePart(TileSets.File);
    const auto image = ReadImageFile(TileSets.File);
    // The same bytes again (a save of the editor's own, a touch) are no new picture.
    if (image != nullptr && TileSets.FileImage != nullptr && *image == *TileSets.FileImage) return;
    if (image == nullptr || screen::SpriteLoadMemory(kTileSet, *image) == 0) {
        if (image != nullptr) ShowTileSet();  // the failed load took the sprite with it
        ShowStatus(runtime::Cp1252("Kachelsatz nicht lesbar, der bisherige bleibt: ") + name);
        return;
    }
    ++TileSets.Version;
    // What the disk holds now; a save need not write it back.
    if (TileSets.Saved == Document.TileSet) TileSets.Saved = TileSetSource{image, 0, 0};
    Document.TileSet = TileSetSource{image, 0, 0};
    TileSets.FileImage = image;
    Document.TileSetWidth = WholeSpriteWidth();
    ShowStatus("Kachelsatz neu geladen: " + name);
}

void ResetTileSetState() {
    gui::FileUnwatch(TileSets.Watch);
    TileSets = TileSetState{};
}

}  // namespace editor
