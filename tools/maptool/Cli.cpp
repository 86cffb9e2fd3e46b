// The command line: the commands, their options and help texts (German, like the editor), and
// checks of the arguments before any file is touched.
#include <cctype>
#include <cstdint>
#include <functional>

#include "screen/PngEncoder.h"
#include "tools/maptool/CommandLine.h"
#include "tools/maptool/Commands.h"
#include "tools/maptool/MapInput.h"
#include "tools/maptool/Messages.h"
#include "tools/maptool/TiledFiles.h"
#include "tools/maptool/ToolFiles.h"

namespace maptool {
namespace {

constexpr char kOverview[] =
    "Aufruf: maptool BEFEHL [OPTIONEN] DATEI...\n"
    "\n"
    "Karten (MAP-Dateien mit ihrem Kachelsatz NAME.PNG daneben) ansehen, prüfen, als Bild\n"
    "ausgeben und mit Tiled austauschen, ohne Fenster und ohne Bildschirm.\n"
    "\n"
    "Befehle:\n"
    "  info MAP...                  zeigt Werte, Spieler, Kachelsatz und benutzte Kacheln\n"
    "  check MAP...                 meldet, was der Editor beim Laden korrigieren würde und\n"
    "                               was an Datei und Kachelsatz nicht stimmt\n"
    "  render MAP BILD.png          zeichnet die Karte als PNG-Bild\n"
    "  export MAP ZIEL.tmx|.tmj     schreibt die Karte als Tiled-Karte (XML oder JSON)\n"
    "  import QUELLE.tmx|.tmj MAP   schreibt eine Tiled-Karte als MAP-Datei mit Kachelsatz\n"
    "\n"
    "\"maptool BEFEHL --help\" erklärt einen Befehl, \"maptool --version\" zeigt die Version.\n"
    "\n"
    "Rückgabewerte: 0 Erfolg, 1 die Eingabe hat Probleme oder ließ sich nicht umwandeln,\n"
    "2 falscher Aufruf. Meldungen gehen auf die Standardfehlerausgabe und nennen die Datei.\n"
    "Ausgabedateien entstehen als temporäre Datei daneben und ersetzen das Ziel erst, wenn sie\n"
    "vollständig sind.\n";

struct Command {
    const char* name;
    const char* help;
    std::vector<OptionSpec> options;
    // Runs the command on the parsed line.
    std::function<int(const ParsedLine&)> run;
};

int Usage(const char* command, const std::string& text) {
    UsageMessage(command, text);
    return kWrongUsage;
}

bool MapsValid(const char* command, const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        if (!MapArgumentValid(command, file)) return false;
    }
    return true;
}

// An output path: of the given kind and nameable by the runtime.
bool OutputValid(const char* command, const std::string& file, bool validKind,
                 const char* expected) {
    if (!validKind) {
        UsageMessage(command, "die Ausgabe muss " + std::string(expected) + " sein: " + file);
        return false;
    }
    if (!RuntimePath(file)) {
        UsageMessage(command, std::string(kPathNotNameable) + ": " + file);
        return false;
    }
    return true;
}

bool EndsWithPng(const std::string& file) {
    if (file.size() < 4) return false;
    std::string end = file.substr(file.size() - 4);
    for (char& c : end) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == ".png";
}

// 1:N with 1 to 18 digits (a line break after it is let pass); N or 0.
std::int64_t ScaleValue(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    if (text.size() < 3 || text.size() > 20 || text.compare(0, 2, "1:") != 0) return 0;
    std::int64_t n = 0;
    for (std::size_t i = 2; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

// A whole number in decimal with an optional sign, blanks around it let pass. False when it is
// none or beyond 64 bits.
bool WholeNumber(const std::string& text, std::int64_t& value) {
    const char* blanks = " \t\n\v\f\r";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return false;
    const std::string number = text.substr(first, text.find_last_not_of(blanks) + 1 - first);
    std::size_t at = number[0] == '+' || number[0] == '-' ? 1 : 0;
    const bool negative = number[0] == '-';
    if (at == number.size()) return false;
    std::uint64_t magnitude = 0;
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    for (; at < number.size(); ++at) {
        if (number[at] < '0' || number[at] > '9') return false;
        const auto digit = static_cast<std::uint64_t>(number[at] - '0');
        if (magnitude > (limit - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    value =
        negative ? static_cast<std::int64_t>(0 - magnitude) : static_cast<std::int64_t>(magnitude);
    return true;
}

int Info(const ParsedLine& parser) {
    const std::vector<std::string> files = parser.Positional();
    if (files.empty()) return Usage("info", "keine MAP-Datei angegeben");
    if (!MapsValid("info", files)) return kWrongUsage;
    return InfoCommand(files, parser.IsSet("json"));
}

int Check(const ParsedLine& parser) {
    const std::vector<std::string> files = parser.Positional();
    if (files.empty()) return Usage("check", "keine MAP-Datei angegeben");
    if (!MapsValid("check", files)) return kWrongUsage;
    return CheckCommand(files, parser.IsSet("verbose"));
}

int Render(const ParsedLine& parser) {
    const std::vector<std::string> files = parser.Positional();
    if (files.size() != 2) return Usage("render", "erwartet MAP und BILD.png");
    if (!MapsValid("render", {files[0]}) ||
        !OutputValid("render", files[1], EndsWithPng(files[1]), "ein .png-Bild")) {
        return kWrongUsage;
    }
    RenderOptions options;
    options.zmask = parser.IsSet("zmask");
    options.players = parser.IsSet("players");
    const bool scale = parser.IsSet("scale");
    const bool fit = parser.IsSet("fit");
    if (scale && fit) return Usage("render", "--scale und --fit schließen einander aus");
    bool ok = true;
    if (scale) {
        options.scale = ScaleValue(parser.Value("scale"));
        ok = options.scale >= 1 && options.scale <= kMaxRenderScale;
        if (!ok) {
            return Usage("render", "--scale erwartet 1:N mit N von 1 bis " +
                                       Number(kMaxRenderScale) + ", etwa 1:4");
        }
    }
    if (fit) {
        ok = WholeNumber(parser.Value("fit"), options.fit);
        if (!ok || options.fit < 1 || options.fit > screen::kPngMaxSide) {
            return Usage("render",
                         "--fit erwartet eine Pixelzahl von 1 bis " + Number(screen::kPngMaxSide));
        }
    }
    return RenderCommand(files[0], files[1], options);
}

int Export(const ParsedLine& parser) {
    const std::vector<std::string> files = parser.Positional();
    if (files.size() != 2) return Usage("export", "erwartet MAP und ZIEL.tmx oder ZIEL.tmj");
    const TiledFormat format = TiledFormatOf(files[1]);
    if (!MapsValid("export", {files[0]}) ||
        !OutputValid("export", files[1], format != TiledFormat::None, ".tmx, .tmj oder .json")) {
        return kWrongUsage;
    }
    return ExportCommand(files[0], files[1]);
}

int Import(const ParsedLine& parser) {
    const std::vector<std::string> files = parser.Positional();
    if (files.size() != 2) return Usage("import", "erwartet QUELLE.tmx oder QUELLE.tmj und MAP");
    if (TiledFormatOf(files[0]) == TiledFormat::None) {
        return Usage("import", "die Quelle muss .tmx, .tmj oder .json sein: " + files[0]);
    }
    if (!MapsValid("import", {files[1]})) return kWrongUsage;
    return ImportCommand(files[0], files[1], parser.IsSet("externe-pfade"));
}

std::vector<Command> Commands() {
    return {
        {"info",
         "Aufruf: maptool info [--json] MAP...\n"
         "\n"
         "Zeigt, was eine MAP-Datei hält, so wie sie es speichert: Name, Feldgröße, Zahl der\n"
         "Felder, Spieler mit Position und Richtung (\"Zufall\" für 360), Slots und Bälle, den\n"
         "Kachelsatz daneben (NAME.PNG) mit seiner Zahl an Kacheln, und welche Kachelnummern wie\n"
         "oft benutzt werden und welche außerhalb des Kachelsatzes liegen.\n"
         "Für mehrere Dateien eine Zeile je Datei. Ist die Datei kürzer oder länger, als ihr\n"
         "Kopf sagt, meldet info das wie check (Rückgabewert 1).\n"
         "\n"
         "  --json   eine JSON-Liste mit einem Objekt je Datei, für Skripte (der Schaden der\n"
         "           Datei als Liste \"FileDamage\")\n",
         {{{"json"}}},
         Info},
        {"check",
         "Aufruf: maptool check [-v] MAP...\n"
         "\n"
         "Meldet je Datei, was der Editor beim Laden korrigieren würde (Werte außerhalb ihrer\n"
         "Bereiche), eine Karte ohne Felder, Kachelnummern außerhalb des Kachelsatzes oder\n"
         "negative, einen fehlenden, unlesbaren oder zu niedrigen Kachelsatz, und eine Datei,\n"
         "die kürzer oder länger ist, als ihr Kopf sagt. Rückgabewert 1, wenn etwas gefunden\n"
         "wurde; ohne Befund still.\n"
         "\n"
         "  -v, --verbose   meldet auch Dateien ohne Befund\n",
         {{{"v", "verbose"}}},
         Check},
        {"render",
         "Aufruf: maptool render MAP BILD.png [--zmask] [--players] [--scale 1:N | --fit PIXEL]\n"
         "\n"
         "Zeichnet die ganze Karte, wie die Kartenansicht des Editors sie im Maßstab 1:1 ab\n"
         "Position (0, 0) zeigt, ohne Rahmen, Texte und Pinselvorschau: jedes Feld mit seiner\n"
         "Kachel, Grau (100, 100, 100), wo keine Kachel liegt. Die Werte der Karte werden dabei\n"
         "korrigiert, wie der Editor es beim Laden tut. Das Bild entsteht in Streifen und wird\n"
         "während des Zeichnens geschrieben; der Speicherbedarf hängt nicht von seiner Größe ab.\n"
         "\n"
         "  --zmask        die Z-Masken der Kacheln statt ihrer Bilder\n"
         "  --players      die Spielermarken, wie der Editor sie zeigt (Spieler 1 rot)\n"
         "  --scale 1:N    verkleinert auf 1:N (Mittelwert je N x N Pixel)\n"
         "  --fit PIXEL    der kleinste Maßstab 1:N, bei dem das Bild in PIXEL x PIXEL passt\n",
         {{{"zmask"}}, {{"players"}}, {{"scale"}, true}, {{"fit"}, true}},
         Render},
        {"export",
         "Aufruf: maptool export MAP ZIEL.tmx|ZIEL.tmj\n"
         "\n"
         "Schreibt die Karte als orthogonale Tiled-Karte, als XML (.tmx) oder JSON (.tmj, .json):\n"
         "Kacheln so groß wie die Felder; ein Kachelsatz, dessen Bild der Kachelsatz der Karte\n"
         "ist (beide Zeilen, Kachel v ist Kachel-ID v, ihre Z-Maske v + Spalten); die Kachelebene\n"
         "\"Felder\"; die Objektebene \"Spieler\" mit einem Punkt je Spieler und seiner Richtung\n"
         "als Eigenschaft \"Richtung\"; Name, Slots und Bälle als Eigenschaften der Karte.\n"
         "Eine Karte, die Tiled nicht unverändert zurückgeben könnte (beschädigte Datei, keine\n"
         "Felder, Kachelnummern außerhalb des Kachelsatzes, fehlender Kachelsatz), wird nicht\n"
         "exportiert.\n",
         {},
         Export},
        {"import",
         "Aufruf: maptool import [--externe-pfade] QUELLE.tmx|QUELLE.tmj MAP\n"
         "\n"
         "Liest eine Tiled-Karte (von export geschrieben oder von Tiled gespeichert, auch ältere\n"
         "Dateien: Ebenendaten als CSV, Base64, zlib, gzip oder zstd; eingebetteter oder externer\n"
         "Kachelsatz) und schreibt sie als MAP-Datei; das Bild des Kachelsatzes kommt unter dem\n"
         "Namen der Karte daneben (NAME.PNG). Genommen werden die erste Kachelebene und der\n"
         "eine Kachelsatz. Was eine MAP-Datei nicht halten kann, wird mit einer Meldung\n"
         "abgelehnt, nie still geändert:\n"
         "mehrere Kachelsätze, unendliche Karten, leere, gespiegelte oder gedrehte Kacheln,\n"
         "Kacheln außerhalb der ersten Zeile des Kachelsatzes, Spieler abseits ganzer Pixel.\n"
         "Kachelsatz und Bild müssen im Ordner der Karte oder darunter liegen.\n"
         "\n"
         "  --externe-pfade   erlaubt auch absolute Pfade und solche, die mit .. hinausführen\n",
         {{{"externe-pfade"}}},
         Import},
    };
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        std::fputs(kOverview, stderr);
        return kWrongUsage;
    }
    const std::string& name = arguments.front();
    if (name == "--help" || name == "-h" || name == "help") {
        std::fputs(kOverview, stdout);
        return kSuccess;
    }
    if (name == "--version") {
        std::fputs("maptool (Karteneditor) " MAPEDITOR_VERSION "\n", stdout);
        return kSuccess;
    }
    for (const Command& command : Commands()) {
        if (name != command.name) continue;
        std::vector<OptionSpec> options{{{"h", "help"}}};
        options.insert(options.end(), command.options.begin(), command.options.end());
        ParsedLine line;
        std::string unknownName;
        bool unknown = false;
        if (!ParseOptions(options, {arguments.begin() + 1, arguments.end()}, line, unknownName,
                          unknown)) {
            return Usage(command.name, unknown ? "unbekannte Option: " + unknownName
                                               : "einer Option fehlt ihr Wert");
        }
        if (line.IsSet("help")) {
            std::fputs(command.help, stdout);
            return kSuccess;
        }
        return command.run(line);
    }
    UsageMessage("", "unbekannter Befehl: " + name);
    return kWrongUsage;
}

}  // namespace maptool
