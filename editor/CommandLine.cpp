// The editor's command line.
#include "editor/CommandLine.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "editor/DataFolder.h"

namespace editor {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUsage =
    "Aufruf: mapeditor [ORDNER]\n"
    "        mapeditor --data-folder\n";

constexpr std::string_view kHelp =
    "Karteneditor: Karten für ein kachelbasiertes Ballwurfspiel bearbeiten.\n"
    "\n"
    "  ORDNER         im ORDNER arbeiten: seine Karten liegen in ORDNER/Karten.\n"
    "                 Ohne ORDNER arbeitet der Editor im aktuellen Ordner.\n"
    "  --data-folder  im Datenordner des Benutzers arbeiten,\n"
#ifdef _WIN32
    "                 %APPDATA%\\Karteneditor;\n"
#else
    "                 $XDG_DATA_HOME/" MAPEDITOR_APP_ID
    "\n"
    "                 (ohne XDG_DATA_HOME: ~/.local/share/" MAPEDITOR_APP_ID
    ");\n"
#endif
    "                 der erste Start legt ihn mit den Beispielkarten an.\n"
    "                 So startet ihn der Eintrag im Anwendungsmenü.\n"
    "  --help         diese Hilfe zeigen\n"
    "  --version      die Version zeigen\n";

struct Request {
    enum class Kind { Start, Help, Version, Wrong } kind = Kind::Start;
    fs::path folder;          // where to work; empty: the current directory
    bool dataFolder = false;  // work in the user's data folder
    std::string problem;      // what is wrong, for Kind::Wrong
};

Request Ending(Request::Kind kind, std::string problem = {}) {
    Request request;
    request.kind = kind;
    request.problem = std::move(problem);
    return request;
}

Request Wrong(std::string problem) { return Ending(Request::Kind::Wrong, std::move(problem)); }

Request ReadArguments(int argc, const char* const* argv) {
    Request request;
    bool optionsEnded = false;
    bool folderGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument == "--help") {
            return Ending(Request::Kind::Help);
        } else if (!optionsEnded && argument == "--version") {
            return Ending(Request::Kind::Version);
        } else if (!optionsEnded && argument == "--data-folder") {
            request.dataFolder = true;
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            return Wrong("unbekannte Option »" + std::string(argument) + "«");
        } else if (folderGiven) {
            return Wrong("mehr als ein ORDNER");
        } else {
            request.folder = argument;
            folderGiven = true;
        }
    }
    if (request.dataFolder && folderGiven) return Wrong("ORDNER und --data-folder zusammen");
    return request;
}

}  // namespace

std::optional<int> EnterStartFolder(int argc, const char* const* argv, std::ostream& out,
                                    std::ostream& err) {
    const Request request = ReadArguments(argc, argv);
    switch (request.kind) {
        case Request::Kind::Help:
            out << kUsage << '\n' << kHelp;
            return 0;
        case Request::Kind::Version:
            out << "mapeditor (Karteneditor) " MAPEDITOR_VERSION "\n";
            return 0;
        case Request::Kind::Wrong:
            err << "mapeditor: " << request.problem << '\n' << kUsage;
            return 2;
        case Request::Kind::Start:
            break;
    }

    fs::path folder = request.folder;
    if (request.dataFolder) {
        folder = UserDataFolderHere();
        if (folder.empty()) {
#ifdef _WIN32
            err << "mapeditor: APPDATA nennt keinen absoluten Pfad; der Datenordner ist "
                   "unbekannt\n";
#else
            err << "mapeditor: weder XDG_DATA_HOME noch HOME nennen einen absoluten Pfad;"
                   " der Datenordner ist unbekannt\n";
#endif
            return 1;
        }
        if (!PrepareDataFolder(folder, InstalledSampleMaps(), err)) return 1;
    }
    if (folder.empty()) return std::nullopt;
    std::error_code error;
    fs::current_path(folder, error);
    if (error) {
        err << "mapeditor: kann nicht im Ordner " << folder << " arbeiten: " << error.message()
            << '\n';
        return 1;
    }
    return std::nullopt;
}

}  // namespace editor
