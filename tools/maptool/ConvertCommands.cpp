// maptool export and import: MAP files to Tiled's TMX and TMJ and back.
#include <algorithm>
#include <filesystem>
#include <system_error>
#include <unordered_map>
#include <utility>
#include <vector>

#include "editor/MapDocument.h"
#include "editor/MapFile.h"
#include "editor/SafeFile.h"
#include "runtime/File.h"
#include "screen/ImageRows.h"
#include "tools/maptool/Commands.h"
#include "tools/maptool/Findings.h"
#include "tools/maptool/ImportReasons.h"
#include "tools/maptool/MapInput.h"
#include "tools/maptool/Messages.h"
#include "tools/maptool/TiledConvert.h"
#include "tools/maptool/TiledFiles.h"
#include "tools/maptool/TmjFormat.h"
#include "tools/maptool/TmxFormat.h"
#include "tools/maptool/ToolFiles.h"

namespace maptool {
namespace {

using editor::Document;

// Everything in the MAP file that a Tiled map could not carry back unchanged.
std::vector<std::string> ExportProblems(const MapInput& input) {
    std::vector<std::string> problems = FileDamage(input);
    if (Document.LastFieldX < 0 || Document.LastFieldY < 0) {
        problems.push_back("die Karte hat keine Felder (LastFieldX " + Number(Document.LastFieldX) +
                           ", LastFieldY " + Number(Document.LastFieldY) +
                           "); eine Tiled-Karte hat mindestens eines");
    }
    if (Document.LastFieldX >= editor::kFieldsSize || Document.LastFieldY >= editor::kFieldsSize) {
        problems.push_back("die Karte hat mehr als 1000 Spalten oder Zeilen (LastFieldX " +
                           Number(Document.LastFieldX) + ", LastFieldY " +
                           Number(Document.LastFieldY) + "), mehr als ihre Felder halten");
    }
    if (Document.PlayerCount > editor::kPlayersUpperBound) {
        problems.push_back("die Karte hat " + Number(Document.PlayerCount) +
                           " Spieler, mehr als ihre Spielerliste hält (1000)");
    }
    if (Document.FieldWidth < 1 || Document.FieldHeight < 1) {
        problems.push_back("die Felder sind " + Number(Document.FieldWidth) + " x " +
                           Number(Document.FieldHeight) +
                           " Pixel groß; Tiled-Kacheln haben mindestens 1 Pixel");
        return problems;  // the tiles cannot be counted
    }
    if (const std::string problem = TileSetProblem(input); !problem.empty()) {
        problems.push_back(problem);
    } else if (const std::string outside = TilesOutside(input); !outside.empty()) {
        problems.push_back(outside);
    }
    return problems;
}

namespace fs = std::filesystem;

// A path of UTF-8 text, and the text of a path: UTF-8 with '/' between the names on every
// system (Windows' paths would otherwise come in its code page and with '\').
fs::path PathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}
std::string TextOf(const fs::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

// A path made absolute from the working folder, its "." and ".." taken away by name.
fs::path AbsoluteByName(const std::string& path) {
    std::error_code error;
    return fs::absolute(PathOf(path), error).lexically_normal();
}

// The path with every link resolved, or "" when it leads nowhere.
std::string Canonical(const fs::path& path) {
    std::error_code error;
    const fs::path canonical = fs::canonical(path, error);
    return error ? std::string() : TextOf(canonical);
}

// The path from the absolute folder to the absolute file, name by name: ".." for each name of
// the folder after the names they share, then the rest of the file's names.
std::string RelativePath(const std::string& folder, const std::string& file) {
    const auto names = [](const std::string& path) {
        std::vector<std::string> out;
        for (std::size_t at = 0; at <= path.size();) {
            const std::size_t end = std::min(path.find('/', at), path.size());
            if (end > at) out.push_back(path.substr(at, end - at));
            at = end + 1;
        }
        return out;
    };
    const std::vector<std::string> from = names(folder), to = names(file);
    std::size_t shared = 0;
    while (shared < from.size() && shared < to.size() && from[shared] == to[shared]) ++shared;
    std::string path;
    for (std::size_t i = shared; i < from.size(); ++i) path += "../";
    for (std::size_t i = shared; i < to.size(); ++i) path += (i > shared ? "/" : "") + to[i];
    return path.empty() ? "." : path;
}

// The path by which the map file `out` names the tile set: from its own folder, as the files
// are named on disk. A path that climbs out of a linked folder with ".." leaves the folder the
// link points to, not the one that holds the link: unless the path as written leads to the tile
// set, it is made from both paths with their links resolved.
std::string TileSetPathFrom(const std::string& out, const std::string& tileSetRuntimePath) {
    const fs::path outFolder = AbsoluteByName(out).parent_path();
    const fs::path tileSet = AbsoluteByName(runtime::FileSystemPath(tileSetRuntimePath));
    const std::string written = RelativePath(TextOf(outFolder), TextOf(tileSet));
    const std::string tileSetCanonical = Canonical(tileSet);
    if (Canonical(outFolder / PathOf(written)) == tileSetCanonical) return written;
    if (tileSetCanonical.empty()) return {};
    std::string folder = Canonical(outFolder);
    if (folder.empty()) folder = TextOf(AbsoluteByName("."));
    return RelativePath(folder, tileSetCanonical);
}

// The file's name without its last extension.
std::string NameWithoutExtension(const std::string& path) {
    const std::string name = path.substr(FolderOf(path).size());
    return name.substr(0, name.rfind('.'));
}

}  // namespace

int ExportCommand(const std::string& map, const std::string& out) {
    MapInput input;
    if (!ReadMapInput(map, TileSetRead::Header, input)) return kInputProblem;
    if (OutputIsAnInput(out, {input.runtimePath, input.tileSetRuntimePath})) return kInputProblem;
    const std::vector<std::string> problems = ExportProblems(input);
    for (const std::string& problem : problems) Message(map, problem);
    if (!problems.empty()) {
        Message(map, "nicht exportiert: Tiled könnte die Karte nicht unverändert zurückgeben");
        return kInputProblem;
    }
    TiledImage image;
    image.name = NameWithoutExtension(map);
    image.path = TileSetPathFrom(out, input.tileSetRuntimePath);
    image.width = input.tileSetWidth;
    image.height = input.tileSetHeight;
    const TiledMap tiled = DocumentToTiled(image);

    std::string text, error;
    if (IsXmlMapFile(out)) {
        if (!WriteTmx(tiled, text, error)) {
            Message(map, error);
            return kInputProblem;
        }
    } else {
        text = WriteTmj(tiled);
    }
    const auto write = [&text] { return WriteOutput(text.data(), text.size()); };
    return WriteOutputFile(out, write) ? kSuccess : kInputProblem;
}

int ImportCommand(const std::string& in, const std::string& map, bool outsidePaths) {
    TiledInput tiled;
    if (!ReadTiledInput(in, outsidePaths, tiled)) return kInputProblem;
    std::string error;
    Notes notes;
    // One of our own maps keeps its tile set as it is; any other is drawn into a new one.
    const bool keep = IsGameTileSetMap(tiled.map, tiled.imageWidth, tiled.imageHeight);
    std::vector<std::uint8_t> png;
    if (keep) {
        if (!TiledToDocument(tiled.map, tiled.imageWidth, error, notes)) {
            Message(in, error);
            Message(in, "nicht importiert");
            return kInputProblem;
        }
        png = std::move(tiled.image);
    } else {
        FlatMap flat;
        ImportReasons reasons;
        if (!FlattenTiledMap(tiled.map, tiled.pictures, flat, reasons)) {
            for (const std::string& line : reasons.Lines()) Message(in, line);
            Message(in, "nicht importiert");
            return kInputProblem;
        }
        if (!FlatToDocument(tiled.map, flat, error, notes)) {
            Message(in, error);
            Message(in, "nicht importiert");
            return kInputProblem;
        }
        if (!EncodePng(flat.tileSetWidth, flat.tileSetHeight, flat.tileSet, png)) {
            Message(in, "der neue Kachelsatz kann nicht als PNG geschrieben werden");
            return kInputProblem;
        }
        notes.push_back("neuer Kachelsatz mit " + Number(flat.tileCount) + " Kacheln; " +
                        (flat.zMaskLayer.empty()
                             ? std::string("die Z-Masken sind schwarz (keine Ebene \"") +
                                   kZMaskLayerName + "\")"
                             : "die Z-Masken kommen aus der Ebene \"" + flat.zMaskLayer + "\""));
    }
    if (const std::string left = NotCarried(tiled.map); !left.empty()) notes.push_back(left);
    // A note that applies many times (to many layers of one name) is said once, with a count.
    std::vector<std::pair<std::string, std::int64_t>> counted;
    std::unordered_map<std::string, std::size_t> index;
    for (const std::string& note : notes) {
        const auto [at, added] = index.emplace(note, counted.size());
        if (added) counted.emplace_back(note, 0);
        ++counted[at->second].second;
    }
    for (const auto& [note, count] : counted) {
        Message(in, "Hinweis: " + note + (count > 1 ? " (" + Number(count) + " Mal)" : ""));
    }

    // The tile set goes beside the MAP file under its name, as the editor names both: a file
    // that differs only in case is the same map. The MAP file is written while the new tile
    // set waits in its temporary file, so either both replace what was there or neither does.
    const std::string mapRuntime = *RuntimePath(map);
    const std::string tileSet = *editor::WithoutMapExtension(map) + ".PNG";
    std::vector<std::string> inputs, others;
    for (const std::string& file : tiled.files) {
        inputs.push_back(*RuntimePath(file));
        // A kept tile set may be the image read (a map exported and imported back): it gets
        // the very bytes it holds. Any other input is never overwritten.
        if (!keep || file != tiled.imageFile) others.push_back(inputs.back());
    }
    if (OutputIsAnInput(map, inputs) || OutputIsAnInput(tileSet, others)) return kInputProblem;
    bool mapWritten = false;
    const auto write = [&] {
        mapWritten = WriteOutput(png.data(), png.size()) && editor::WriteMapFileAt(mapRuntime) != 0;
        return mapWritten;
    };
    editor::RemoveAbandonedSaves(FolderOf(mapRuntime));
    runtime::FileError why = runtime::FileError::None;
    if (editor::WriteFileSafely(kOutputFile, *editor::WithoutMapExtension(mapRuntime) + ".PNG",
                                write, runtime::PathNames::AnyCase, &why) == 0) {
        Message(mapWritten ? tileSet : map,
                WriteProblemText(why) + (mapWritten ? "; " + map + " ist schon neu" : ""));
        return kInputProblem;
    }
    return kSuccess;
}

}  // namespace maptool
