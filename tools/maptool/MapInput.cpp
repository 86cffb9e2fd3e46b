// Reading a MAP file and its tile set for the tool.
#include "tools/maptool/MapInput.h"

#include <algorithm>
#include <vector>

#include "editor/MapDocument.h"
#include "editor/MapFile.h"
#include "runtime/RtString.h"
#include "screen/ImageRows.h"
#include "screen/PixelConversion.h"
#include "tools/maptool/Messages.h"
#include "tools/maptool/ToolFiles.h"

namespace maptool {
namespace {

using editor::Document;

constexpr std::int32_t kDisplayDepth = 32;

// The header's answer, or the whole decode's.
screen::ImageProblem DecodeTileSet(const std::vector<std::uint8_t>& bytes, TileSetRead what,
                                   MapInput& input) {
    input.tileSetHeader = screen::ReadImageHeader(bytes);
    if (what == TileSetRead::Header) return input.tileSetHeader.problem;
    screen::ImageRows rows;
    if (!screen::ReadImageRows(bytes, kDisplayDepth, rows)) return rows.problem;
    if (!input.tileSet.Allocate(rows.width, rows.height)) return screen::ImageProblem::OutOfMemory;
    screen::ConvertImageRows(rows, input.tileSet, kDisplayDepth, screen::kFormat32Bgr);
    return screen::ImageProblem::None;
}

void ReadTileSet(MapInput& input, TileSetRead what) {
    std::vector<std::uint8_t> bytes;
    switch (runtime::FileReadWhole(input.tileSetRuntimePath, bytes, kTileSetFileLimit)) {
        case runtime::WholeFile::Missing:
            input.tileSetError = runtime::FileLastError();
            input.tileSetState = input.tileSetError == runtime::FileError::NotFound
                                     ? TileSetState::Missing
                                     : TileSetState::Unreadable;
            return;
        case runtime::WholeFile::TooLarge:
            input.tileSetState = TileSetState::TooLarge;
            return;
        case runtime::WholeFile::Read:
            break;
    }
    input.tileSetProblem = DecodeTileSet(bytes, what, input);
    if (input.tileSetProblem != screen::ImageProblem::None) {
        input.tileSetState = TileSetState::Undecodable;
        input.tileSet.Reset();
        return;
    }
    input.tileSetState = TileSetState::Loaded;
    input.tileSetWidth = static_cast<std::int32_t>(input.tileSetHeader.width);
    input.tileSetHeight = static_cast<std::int32_t>(input.tileSetHeader.height);
    if (!input.tileSet.Empty()) {
        input.tileSetWidth = input.tileSet.Width();
        input.tileSetHeight = input.tileSet.Height();
    }
}

std::string SizeText(const screen::ImageHeader& header) {
    return Number(header.width) + " x " + Number(header.height) + " Pixel";
}

// The part of the grid the arrays hold.
std::int32_t LastColumn() { return editor::FieldsInArray(Document).columns - 1; }
std::int32_t LastRow() { return editor::FieldsInArray(Document).rows - 1; }

}  // namespace

bool MapArgumentValid(std::string_view command, std::string_view file) {
    if (!editor::WithoutMapExtension(file)) {
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

bool ReadMapInput(std::string_view file, TileSetRead tileSet, MapInput& input) {
    input = MapInput{};
    input.file = std::string(file);
    input.runtimePath = *RuntimePath(file);
    input.tileSetFile = *editor::WithoutMapExtension(file) + ".PNG";
    input.tileSetRuntimePath = *editor::WithoutMapExtension(input.runtimePath) + ".PNG";
    input.read = editor::ReadMapFileAt(input.runtimePath);
    if (!input.read.opened) {
        Message(file, OpenProblemText(runtime::FileLastError()));
        return false;
    }
    ReadTileSet(input, tileSet);
    return true;
}

std::string ImageProblemText(const screen::ImageHeader& header, screen::ImageProblem problem) {
    switch (problem) {
        case screen::ImageProblem::None:
            return "";
        case screen::ImageProblem::NotAnImage:
            break;
        case screen::ImageProblem::Damaged:
            return "die Datei ist beschädigt oder unvollständig";
        case screen::ImageProblem::SideTooLarge:
            return "es ist " + SizeText(header) + " groß, mehr als " + Number(screen::kMaxSide) +
                   " je Seite";
        case screen::ImageProblem::TooManyPixels:
            return "es ist " + SizeText(header) + " groß, mehr als die " +
                   Number(screen::kMaxImagePixels) + " Pixel, die ein Bild haben darf";
        case screen::ImageProblem::UnsupportedDepth:
            return "ein BMP-Bild mit " + Number(header.bits) +
                   " Bit je Pixel (lesbar sind 1, 4, 8, 16, 24 und 32)";
        case screen::ImageProblem::UnsupportedCompression:
            return "ein BMP-Bild mit " + Number(header.bits) +
                   " Bit je Pixel und der Kompression " + Number(header.compression) +
                   " (lesbar sind unkomprimierte, RLE8 bei 8 Bit und Bitfelder bei 16 und 32 Bit)";
        case screen::ImageProblem::OutOfMemory:
            return "der Speicher reicht nicht, um " + SizeText(header) + " zu lesen";
    }
    return "weder PNG noch BMP";
}

std::int64_t TileCount(const MapInput& input) {
    if (input.tileSetState != TileSetState::Loaded) return 0;
    return input.tileSetWidth / std::max(Document.FieldWidth, 1);
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
