// maptool info: what a MAP file holds, for people (one block, or one line a file) and for
// scripts (JSON). The values are shown as the file stores them, before any correction; damage
// to the file (shorter or longer than its header says) is reported as check reports it. The
// tile set's size comes from its header: nothing else of it is read.
#include <algorithm>
#include <nlohmann/json.hpp>

#include "editor/MapDocument.h"
#include "tools/maptool/Commands.h"
#include "tools/maptool/Findings.h"
#include "tools/maptool/MapInput.h"
#include "tools/maptool/Messages.h"
#include "tools/maptool/TiledJson.h"
#include "tools/maptool/ToolFiles.h"

namespace maptool {
namespace {

using editor::Document;

std::string Direction(std::int32_t direction) {
    return direction == editor::RandomDirection ? "Zufall" : Number(direction) + "°";
}

std::string TileSetText(const MapInput& input) {
    switch (input.tileSetState) {
        case TileSetState::Missing:
            return input.tileSetFile + " fehlt";
        case TileSetState::Unreadable:
            return input.tileSetFile + " " + OpenProblemText(input.tileSetError);
        case TileSetState::TooLarge:
            return input.tileSetFile + " ist zu groß";
        case TileSetState::Undecodable:
            return input.tileSetFile + " ist kein lesbares PNG- oder BMP-Bild: " +
                   ImageProblemText(input.tileSetHeader, input.tileSetProblem);
        case TileSetState::Loaded:
            break;
    }
    return input.tileSetFile + ", " + Number(input.tileSetWidth) + " x " +
           Number(input.tileSetHeight) + " Pixel, " + Number(TileCount(input)) + " Kacheln";
}

std::string UseText(const TileUse& use, std::int64_t tileCount, bool inside) {
    const TileList list = ListTiles(use, tileCount, inside);
    return list.fields == 0 ? "keine" : list.text;
}

std::int32_t PlayersListed() {
    return std::clamp(Document.PlayerCount, 0, editor::kPlayersUpperBound);
}

void PrintBlock(const MapInput& input) {
    const TileUse use = CountTiles();
    const std::int64_t tiles = TileCount(input);
    Print(input.file);
    Print("  Name:          " + MapNameUtf8());
    Print("  Felder:        " + Number(std::int64_t{Document.LastFieldX} + 1) + " x " +
          Number(std::int64_t{Document.LastFieldY} + 1) + " (X 0 bis " +
          Number(Document.LastFieldX) + ", Y 0 bis " + Number(Document.LastFieldY) + "), je " +
          Number(Document.FieldWidth) + " x " + Number(Document.FieldHeight) + " Pixel");
    Print("  Spieler:       " + Number(Document.PlayerCount));
    for (std::int32_t p = 1; p <= PlayersListed(); ++p) {
        const editor::PlayerStart& player = Document.Players(p);
        Print("    " + Number(p) + ": (" + Number(player.X) + ", " + Number(player.Y) + ") " +
              Direction(player.Direction));
    }
    Print("  Slots/Bälle:   " + Number(Document.SlotCount) + "/" + Number(Document.BallCount));
    Print("  Kachelsatz:    " + TileSetText(input));
    Print("  Kacheln:       " + UseText(use, tiles, true));
    Print("  außerhalb:     " + UseText(use, tiles, false));
}

void PrintLine(const MapInput& input) {
    const TileUse use = CountTiles();
    const std::int64_t tiles = TileCount(input);
    Print(input.file + ": \"" + MapNameUtf8() + "\", " +
          Number(std::int64_t{Document.LastFieldX} + 1) + " x " +
          Number(std::int64_t{Document.LastFieldY} + 1) + " Felder zu " +
          Number(Document.FieldWidth) + " x " + Number(Document.FieldHeight) + " Pixel, " +
          Number(Document.PlayerCount) + " Spieler, Slots/Bälle " + Number(Document.SlotCount) +
          "/" + Number(Document.BallCount) + ", Kachelsatz: " + TileSetText(input) + ", " +
          Number(static_cast<std::int64_t>(use.counts.size())) + " Kachelnummern benutzt, " +
          Number(ListTiles(use, tiles, false).fields) + " Felder außerhalb");
}

nlohmann::json Json(const MapInput& input) {
    const TileUse use = CountTiles();
    const std::int64_t tiles = TileCount(input);
    nlohmann::json object{{"file", input.file},
                          {"MapName", MapNameUtf8()},
                          {"PlayerCount", Document.PlayerCount},
                          {"SlotCount", Document.SlotCount},
                          {"BallCount", Document.BallCount},
                          {"FieldWidth", Document.FieldWidth},
                          {"FieldHeight", Document.FieldHeight},
                          {"LastFieldX", Document.LastFieldX},
                          {"LastFieldY", Document.LastFieldY}};
    nlohmann::json players = nlohmann::json::array();
    for (std::int32_t p = 1; p <= PlayersListed(); ++p) {
        const editor::PlayerStart& player = Document.Players(p);
        players.push_back({{"X", player.X}, {"Y", player.Y}, {"Direction", player.Direction}});
    }
    object["Players"] = players;
    if (input.tileSetState == TileSetState::Loaded) {
        object["TileSet"] = {{"file", input.tileSetFile},
                             {"width", input.tileSetWidth},
                             {"height", input.tileSetHeight},
                             {"tiles", tiles}};
    } else {
        object["TileSet"] = nullptr;
    }
    nlohmann::json tileUse = nlohmann::json::array();
    for (const auto& [tile, count] : use.counts) {
        tileUse.push_back({{"tile", tile},
                           {"count", static_cast<std::int64_t>(count)},
                           {"inside", tile >= 0 && tile < tiles}});
    }
    object["TileUse"] = tileUse;
    object["FileDamage"] = FileDamage(input);
    return object;
}

}  // namespace

int InfoCommand(const std::vector<std::string>& files, bool json) {
    int result = kSuccess;
    nlohmann::json all = nlohmann::json::array();
    for (const std::string& file : files) {
        MapInput input;
        if (!ReadMapInput(file, TileSetRead::Header, input)) {
            result = kInputProblem;
            continue;
        }
        // The values shown are then partly invented (read as 0): say so, as check does.
        const std::vector<std::string> damage = FileDamage(input);
        if (!damage.empty()) result = kInputProblem;
        if (!json) {
            for (const std::string& found : damage) Message(file, found);
        }
        if (json) {
            all.push_back(Json(input));
        } else if (files.size() == 1) {
            PrintBlock(input);
        } else {
            PrintLine(input);
        }
    }
    if (json) {
        std::string text = IndentedJson(all);
        text.pop_back();  // Print ends the line
        PrintJson(text);
    }
    return result;
}

}  // namespace maptool
