// The findings of maptool check (and the damage that maptool export refuses).
#include "tools/maptool/Findings.h"

#include <algorithm>

#include "editor/DocumentRanges.h"
#include "editor/MapDocument.h"
#include "tools/maptool/Messages.h"
#include "tools/maptool/ToolFiles.h"

namespace maptool {
namespace {

using editor::Document;

std::string Bytes(std::int64_t n) { return Number(n) + (n == 1 ? " Byte" : " Bytes"); }

}  // namespace

std::vector<std::string> FileDamage(const MapInput& input) {
    std::vector<std::string> found;
    const editor::MapFileRead& read = input.read;
    if (read.shorter) {
        found.push_back("die Datei ist kürzer, als ihr Kopf sagt (" + Bytes(read.headerSize) +
                        "); der Editor liest das Fehlende als 0");
    }
    if (read.longer) {
        found.push_back("die Datei ist länger, als ihr Kopf sagt (" + Bytes(read.headerSize) +
                        "); der Editor übergeht den Rest");
    }
    if (read.nameLength < 0) {
        found.push_back("die Länge des Namens ist negativ (" + Number(read.nameLength) +
                        "); der Editor liest einen leeren Namen");
    } else if (static_cast<std::int64_t>(Document.MapName.size()) < read.nameLength) {
        found.push_back("der Name enthält ein Null-Byte; der Editor liest nur die " +
                        Number(static_cast<std::int64_t>(Document.MapName.size())) +
                        " Zeichen davor");
    }
    return found;
}

std::string TileSetProblem(const MapInput& input) {
    switch (input.tileSetState) {
        case TileSetState::Missing:
            return "der Kachelsatz " + input.tileSetFile + " fehlt";
        case TileSetState::Unreadable:
            return "der Kachelsatz " + input.tileSetFile + " " + OpenProblemText(input.tileSetError);
        case TileSetState::TooLarge:
            return "der Kachelsatz " + input.tileSetFile + " ist größer als " +
                   Bytes(kTileSetFileLimit);
        case TileSetState::Undecodable:
            return "der Kachelsatz " + input.tileSetFile + " ist kein lesbares PNG- oder BMP-Bild: " +
                   ImageProblemText(input.tileSetHeader, input.tileSetProblem);
        case TileSetState::Loaded:
            break;
    }
    return "";
}

std::string TilesOutside(const MapInput& input) {
    const std::int64_t tiles = TileCount(input);
    const TileList outside = ListTiles(CountTiles(), tiles, false);
    if (outside.fields == 0) return "";
    const FieldPosition first = FirstFieldOutside(tiles);
    return Number(outside.fields) +
           (outside.fields == 1 ? " Feld zeigt eine Kachel" : " Felder zeigen Kacheln") +
           " außerhalb des Kachelsatzes (" + Number(tiles) + " Kacheln): " + outside.text +
           "; zuerst Feld (" + Number(first.x) + ", " + Number(first.y) + ")";
}

std::vector<std::string> MapFindings(const MapInput& input) {
    std::vector<std::string> found = FileDamage(input);
    for (const editor::Correction& c : editor::DocumentCorrections(Document)) {
        found.push_back(std::string(c.name) + " ist " + Number(c.found) +
                        (c.raised ? ", zu klein" : ", zu groß") + "; der Editor setzt " +
                        Number(c.corrected));
    }
    if (Document.LastFieldX < 0 || Document.LastFieldY < 0) {
        found.push_back("die Karte hat keine Felder (LastFieldX " + Number(Document.LastFieldX) +
                        ", LastFieldY " + Number(Document.LastFieldY) + ")");
    }
    if (const std::string problem = TileSetProblem(input); !problem.empty()) {
        found.push_back(problem);
        return found;
    }
    const std::int64_t fieldHeight = std::max(Document.FieldHeight, 1);
    if (input.tileSetHeight < 2 * fieldHeight) {
        found.push_back("der Kachelsatz ist " + Number(input.tileSetHeight) +
                        " Pixel hoch, Kacheln und Z-Masken brauchen " + Number(2 * fieldHeight));
    }
    if (const std::string outside = TilesOutside(input); !outside.empty()) {
        found.push_back(outside);
    }
    return found;
}

}  // namespace maptool
