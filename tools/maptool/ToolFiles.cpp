// Paths of the tool's files, why they could not be read or written, and writing outputs
// safely, on the runtime's file layer.
#include "tools/maptool/ToolFiles.h"

#include "editor/SafeFile.h"
#include "runtime/RtString.h"
#include "tools/maptool/Messages.h"

namespace maptool {
namespace {

// The characters that end a folder's name in a command-line path: on Windows '\' as well,
// which is the runtime's separator there too; elsewhere a backslash belongs to a name, which the
// runtime cannot spell.
#ifdef _WIN32
constexpr std::string_view kSeparators = "/\\";
constexpr bool kBackslashInName = false;
#else
constexpr std::string_view kSeparators = "/";
constexpr bool kBackslashInName = true;
#endif

}  // namespace

#ifdef _WIN32
const char* const kPathNotNameable = "der Pfad enthält Zeichen außerhalb von CP1252";
#else
const char* const kPathNotNameable = "der Pfad enthält Zeichen außerhalb von CP1252 oder einen \\";
#endif

bool PathIsAbsolute(std::string_view path) {
    if (path.empty()) return false;
    if (path.front() == '/') return true;
#ifdef _WIN32
    if (path.front() == '\\') return true;
    const char drive = static_cast<char>(path.front() | 0x20);
    if (path.size() >= 2 && drive >= 'a' && drive <= 'z' && path[1] == ':') return true;
#endif
    return false;
}

std::optional<std::string> RuntimePath(std::string_view utf8) {
    if (utf8.empty() || (kBackslashInName && utf8.find('\\') != std::string_view::npos)) {
        return std::nullopt;
    }
    std::string path = runtime::Cp1252(utf8);
    if (runtime::Utf8(path) != utf8) return std::nullopt;
    return path;
}

std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.find_last_of(kSeparators);
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string OpenProblemText(runtime::FileError error) {
    switch (error) {
        case runtime::FileError::NotFound:
            return "nicht gefunden";
        case runtime::FileError::Folder:
            return "ist ein Ordner, keine Datei";
        case runtime::FileError::NotRegular:
            return "ist keine gewöhnliche Datei (etwa eine FIFO oder ein Gerät) und wird nicht "
                   "gelesen";
        case runtime::FileError::Denied:
            return "nicht lesbar: keine Berechtigung";
        default:
            break;
    }
    return "nicht lesbar: Ein-/Ausgabefehler";
}

std::string WriteProblemText(runtime::FileError error) {
    std::string reason;
    switch (error) {
        case runtime::FileError::NotFound:
            reason = "den Ordner gibt es nicht";
            break;
        case runtime::FileError::Folder:
            reason = "ein Ordner dieses Namens ist im Weg";
            break;
        case runtime::FileError::Denied:
            reason = "keine Schreibberechtigung, oder die Datei ist schreibgeschützt";
            break;
        case runtime::FileError::NoSpace:
            reason = "kein Platz mehr auf dem Datenträger";
            break;
        case runtime::FileError::TooLarge:
            reason = "die Datei wäre größer, als das Dateisystem oder der Prozess erlaubt";
            break;
        case runtime::FileError::NotRegular:
        case runtime::FileError::Other:
            reason = "Ein-/Ausgabefehler";
            break;
        case runtime::FileError::None:
            reason = "der Inhalt ließ sich nicht erzeugen";
            break;
    }
    return "konnte nicht geschrieben werden: " + reason;
}

bool OutputIsAnInput(const std::string& out, const std::vector<std::string>& inputs) {
    const std::string outRuntime = *RuntimePath(out);
    for (const std::string& input : inputs) {
        if (runtime::FileSame(outRuntime, input) == 0) continue;
        Message(out, "ist eine Eingabe dieses Befehls (" + runtime::Utf8(input) +
                         ") und wird nicht überschrieben; bitte einen anderen Namen wählen");
        return true;
    }
    return false;
}

bool WriteOutputFile(const std::string& out, const std::function<bool()>& write) {
    const std::string target = *RuntimePath(out);
    editor::RemoveAbandonedSaves(FolderOf(target));
    runtime::FileError why = runtime::FileError::None;
    if (editor::WriteFileSafely(kOutputFile, target, write, runtime::PathNames::Exact, &why) != 0) {
        return true;
    }
    Message(out, WriteProblemText(why));
    return false;
}

bool WriteOutput(const void* bytes, std::size_t count) {
    return runtime::FileWriteAll(kOutputFile, bytes, count) != 0;
}

}  // namespace maptool
