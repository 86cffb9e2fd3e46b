// Reading a MAP file and its tile set for the tool.
#include "tools/maptool/MapInput.h"

#include <algorithm>
#include <vector>

#include "editor/MapDocument.h"
#include "runtime/RtString.h"
#include "screen/ImageRows.h"
#include "screen/PixelConversion.h"
#include "tools/maptool/Messages.h"
#include "tools/maptool/ToolFiles.h"

namespace maptool {
namespace {

using editor::Document;

constexpr std::int32_t kDisplayDepth = 32;

void ReadTileSet(MapInput& input) {
    std::vector<std::uint8_t> bytes;
    switch (ReadWholeFile(input.tileSetRuntimePath, kTileSetFileLimit, bytes)) {
        case ReadResult::Missing:
            input.tileSetState = TileSetState::Missing;
            return;
        case ReadResult::TooLarge:
            input.tileSetState = TileSetState::TooLarge;
            return;
        case ReadResult::Read:
            break;
    }
    screen::ImageRows rows;
    input.tileSetState =
        screen::ReadImageRows(bytes, kDisplayDepth, rows) &&
                input.tileSet.Allocate(rows.width, rows.height) &&
                screen::ConvertImageRows(rows, input.tileSet, kDisplayDepth, screen::kFormat32Bgr)
            ? TileSetState::Loaded
            : TileSetState::Undecodable;
    if (input.tileSetState != TileSetState::Loaded) input.tileSet.Reset();
}

// The part of the grid the arrays hold.
std::int32_t LastColumn() { return std::min(Document.LastFieldX, editor::kFieldsSize - 1); }
std::int32_t LastRow() { return std::min(Document.LastFieldY, editor::kFieldsSize - 1); }

}  // namespace

bool MapArgumentValid(std::string_view command, std::string_view file) {
    if (!MapBase(file)) {
        UsageMessage(command, "keine MAP-Datei (erwartet NAME.MAP): " + std::string(file));
        return false;
    }
    if (!RuntimePath(file)) {
        UsageMessage(command,
                     "der Pfad enthält Zeichen, die eine Karte nicht benennen können "
                     "(nur CP1252, kein \\): " +
                         std::string(file));
        return false;
    }
    return true;
}

bool ReadMapInput(std::string_view file, bool withTileSet, MapInput& input) {
    input = MapInput{};
    input.file = std::string(file);
    input.runtimePath = *RuntimePath(file);
    input.tileSetFile = *MapBase(file) + ".PNG";
    input.tileSetRuntimePath = *MapBase(input.runtimePath) + ".PNG";
    input.read = editor::ReadMapFileAt(input.runtimePath);
    if (!input.read.opened) {
        Message(file, "nicht gefunden oder nicht lesbar");
        return false;
    }
    if (withTileSet) ReadTileSet(input);
    return true;
}

std::int64_t TileCount(const MapInput& input) {
    if (input.tileSetState != TileSetState::Loaded) return 0;
    return input.tileSet.Width() / std::max(Document.FieldWidth, 1);
}

TileUse CountTiles() {
    TileUse use;
    for (std::int32_t x = 0; x <= LastColumn(); ++x) {
        for (std::int32_t y = 0; y <= LastRow(); ++y) {
            ++use.counts[Document.Fields(x, y)];
            ++use.fields;
        }
    }
    return use;
}

TileList ListTiles(const TileUse& use, std::int64_t tileCount, bool inside) {
    TileList list;
    for (const auto& [tile, count] : use.counts) {
        if ((tile >= 0 && tile < tileCount) != inside) continue;
        list.text += (list.text.empty() ? "" : ", ") + Number(tile) + " ×" + Number(count);
        list.fields += count;
    }
    return list;
}

FieldPosition FirstFieldOutside(std::int64_t tileCount) {
    for (std::int32_t x = 0; x <= LastColumn(); ++x) {
        for (std::int32_t y = 0; y <= LastRow(); ++y) {
            const std::int32_t tile = Document.Fields(x, y);
            if (tile < 0 || tile >= tileCount) return {x, y};
        }
    }
    return {};
}

std::string MapNameUtf8() { return runtime::Utf8(Document.MapName); }

}  // namespace maptool
