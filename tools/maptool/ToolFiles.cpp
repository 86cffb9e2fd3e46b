// Reading whole files and writing outputs safely, on the runtime's file layer.
#include "tools/maptool/ToolFiles.h"

#include <algorithm>

#include "editor/SafeFile.h"
#include "runtime/RtString.h"
#include "tools/maptool/Messages.h"

namespace maptool {

std::optional<std::string> RuntimePath(std::string_view utf8) {
    if (utf8.empty() || utf8.find('\\') != std::string_view::npos) return std::nullopt;
    std::string path = runtime::Cp1252(utf8);
    if (runtime::Utf8(path) != utf8) return std::nullopt;
    return path;
}

std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::optional<std::string> MapBase(std::string_view path) {
    if (path.size() < 4) return std::nullopt;
    const std::string_view extension = path.substr(path.size() - 4);
    const std::string_view map = ".MAP";
    for (std::size_t i = 0; i < 4; ++i) {
        const char c = extension[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c) != map[i]) return std::nullopt;
    }
    return std::string(path.substr(0, path.size() - 4));
}

ReadResult ReadWholeFile(const std::string& runtimePath, std::int64_t limit,
                         std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    const std::int32_t file = runtime::FileOpenRead(-1, runtimePath);
    if (file == 0) return ReadResult::Missing;
    constexpr std::int32_t kChunk = 1 << 20;
    ReadResult result = runtime::FileBytesLeft(file) > limit ? ReadResult::TooLarge
                                                              : ReadResult::Read;
    while (result == ReadResult::Read) {
        const std::size_t had = bytes.size();
        if (static_cast<std::int64_t>(had) > limit) {
            result = ReadResult::TooLarge;
            break;
        }
        bytes.resize(had + kChunk);
        const std::int32_t got = runtime::FileReadData(file, bytes.data() + had, kChunk);
        bytes.resize(had + static_cast<std::size_t>(std::max(got, 0)));
        if (got < kChunk) break;
    }
    if (static_cast<std::int64_t>(bytes.size()) > limit) result = ReadResult::TooLarge;
    runtime::FileClose(file);
    if (result != ReadResult::Read) bytes.clear();
    return result;
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
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    while (count > 0) {
        const auto n = static_cast<std::int32_t>(std::min<std::size_t>(count, 1 << 30));
        if (runtime::FileWriteData(kOutputFile, at, n) != n) return false;
        at += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace maptool
