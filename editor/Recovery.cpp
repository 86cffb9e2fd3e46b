// Writing, removing and offering the recovery copy.
#include "editor/Recovery.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

#include "editor/EditorWindow.h"
#include "editor/History.h"
#include "editor/MainLoop.h"
#include "editor/MapCommands.h"
#include "editor/MapDocument.h"
#include "editor/MapFile.h"
#include "editor/TileSet.h"
#include "gui/MessageRequester.h"
#include "runtime/File.h"
#include "runtime/RtString.h"
#include "runtime/Timer.h"

namespace editor {

RecoveryState Recovery;

namespace {

constexpr std::string_view kCopyEnd = ".sicherung";
constexpr std::string_view kMapPart = ".MAP";
constexpr std::string_view kImagePart = ".PNG";
enum Answer : std::int32_t { kRestore = 0, kDiscard = 1 };

// This editor's part of its copies' names: its process number and digits drawn at its start,
// so that a later editor that gets the same number does not take a dead one's copy for its own.
const std::string& EditorTag() {
    static const std::string tag = [] {
        std::random_device random;
        char digits[16];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(random()));
        return std::to_string(runtime::ProcessNumber()) + "-" + digits;
    }();
    return tag;
}

std::string CopyPath(std::string_view fileName, std::string_view part, std::string_view tag) {
    std::string path = std::string(kMapFolder) + "\\" + std::string(fileName) + std::string(part);
    if (!tag.empty()) path += "." + std::string(tag);
    return path + std::string(kCopyEnd);
}

// A copy found in the map folder.
struct FoundCopy {
    std::string fileName;  // the map it belongs to
    std::string tag;       // the editor that wrote it; "" for a copy of an older editor
    std::int64_t writtenAt = -1;
    std::string MapPath() const { return CopyPath(fileName, kMapPart, tag); }
    std::string ImagePath() const { return CopyPath(fileName, kImagePart, tag); }
};

// The process number in an editor tag "<number>-<8 hex digits>"; -1 when it is none.
std::int64_t TagProcess(std::string_view tag) {
    const std::size_t dash = tag.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 10 || tag.size() != dash + 9) {
        return -1;
    }
    std::int64_t number = 0;
    for (char c : tag.substr(0, dash)) {
        if (c < '0' || c > '9') return -1;
        number = number * 10 + (c - '0');
    }
    for (char c : tag.substr(dash + 1)) {
        if (std::isxdigit(static_cast<unsigned char>(c)) == 0) return -1;
    }
    return number;
}

// Reads a file name as a map copy: "<map>.MAP.<tag>.sicherung" or "<map>.MAP.sicherung".
bool ParseCopyName(std::string_view file, FoundCopy* copy) {
    if (!file.ends_with(kCopyEnd)) return false;
    std::string_view rest = file.substr(0, file.size() - kCopyEnd.size());
    if (rest.ends_with(kMapPart)) {
        copy->tag.clear();
    } else {
        const std::size_t dot = rest.rfind('.');
        if (dot == std::string_view::npos || TagProcess(rest.substr(dot + 1)) < 0) return false;
        copy->tag = std::string(rest.substr(dot + 1));
        rest = rest.substr(0, dot);
        if (!rest.ends_with(kMapPart)) return false;
    }
    rest.remove_suffix(kMapPart.size());
    if (rest.empty()) return false;
    copy->fileName = std::string(rest);
    return true;
}

// The copies that no running editor keeps, newest first. A copy under this editor's own
// process number is a dead editor's: this one has written none when it asks.
std::vector<FoundCopy> CopiesToOffer() {
    std::vector<FoundCopy> copies;
    for (const std::string& file : runtime::FolderFiles(kMapFolder)) {
        FoundCopy copy;
        if (!ParseCopyName(file, &copy)) continue;
        const std::int64_t process = TagProcess(copy.tag);
        if (process > 0 && process != runtime::ProcessNumber() && runtime::ProcessRuns(process)) {
            continue;
        }
        copy.writtenAt = runtime::FileWriteTime(copy.MapPath());
        copies.push_back(std::move(copy));
    }
    std::stable_sort(copies.begin(), copies.end(), [](const FoundCopy& a, const FoundCopy& b) {
        return a.writtenAt > b.writtenAt;
    });
    return copies;
}

// " vom 11.12.2026, 09:05 Uhr" in local time; "" when the time is not known.
std::string WrittenAtText(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    const std::tm* local = seconds < 0 ? nullptr : std::localtime(&time);
    if (local == nullptr) return {};
    char text[40];
    std::strftime(text, sizeof text, " vom %d.%m.%Y, %H:%M Uhr", local);
    return text;
}

// The copy on disk now holds the current state.
void RememberCopy(const std::string& fileName, const std::string& mapCopy,
                  const std::string& imageCopy) {
    Recovery.Written = true;
    Recovery.CopyOf = fileName;
    Recovery.MapCopy = mapCopy;
    Recovery.ImageCopy = imageCopy;
    Recovery.Version = HistoryVersion();
    Recovery.DueAt = -1;
}

void Restore(const FoundCopy& copy) {
    Document.FileName = copy.fileName;
    // Outside a pass: the copy gets the corrections an opened map gets in its pass before
    // anything uses its values (a field size of 0 would divide by zero at the next event).
    HistoryBeginGroup();
    LoadMapFrom(copy.MapPath());
    const std::string imageCopy = copy.ImagePath();
    const bool image = runtime::FileExists(imageCopy) != 0;
    if (image) LoadTileSetFile(imageCopy);
    ValidateDocument();
    HistoryEndGroup();
    HistoryMarkUnsaved();
    RememberCopy(copy.fileName, copy.MapPath(), image ? imageCopy : "");
    ShowStatus("Sicherungskopie wiederhergestellt: " + copy.MapPath());
    RefreshControls();
}

}  // namespace

std::string RecoveryCopyPath(std::string_view fileName) {
    return CopyPath(fileName, kMapPart, EditorTag());
}

void KeepRecoveryCopyInStep() {
    if (!HistoryChanged()) {
        RemoveRecoveryCopy();
        Recovery.DueAt = -1;
        return;
    }
    if (Recovery.Written && Recovery.Version == HistoryVersion() &&
        Recovery.CopyOf == Document.FileName) {
        Recovery.DueAt = -1;
        return;
    }
    if (Recovery.DueAt < 0) Recovery.DueAt = runtime::ElapsedMilliseconds() + Recovery.DelayMs;
}

std::int64_t RecoveryWaitMs(std::int64_t now) {
    return Recovery.DueAt < 0 ? -1 : std::max<std::int64_t>(0, Recovery.DueAt - now);
}

void WriteRecoveryCopy(std::int64_t now) {
    const std::string mapCopy = RecoveryCopyPath(Document.FileName);
    const std::string imageCopy = CopyPath(Document.FileName, kImagePart, EditorTag());
    const bool image = TileSetNeedsWriting(false);
    bool written = !image || WriteTileSetImage(imageCopy) != 0;
    written = written && WriteMapFileTo(mapCopy) != 0;
    if (!written) {
        Recovery.DueAt = now + Recovery.DelayMs;
        return;
    }
    // What the previous copy (of another name, or restored) left that this one does not replace.
    if (Recovery.Written && Recovery.MapCopy != mapCopy) runtime::FileDelete(Recovery.MapCopy);
    if (!Recovery.ImageCopy.empty() && (!image || Recovery.ImageCopy != imageCopy)) {
        runtime::FileDelete(Recovery.ImageCopy);
    }
    RememberCopy(Document.FileName, mapCopy, image ? imageCopy : "");
}

void RemoveRecoveryCopy() {
    if (!Recovery.Written) return;
    runtime::FileDelete(Recovery.MapCopy);
    if (!Recovery.ImageCopy.empty()) runtime::FileDelete(Recovery.ImageCopy);
    Recovery.Written = false;
    Recovery.MapCopy.clear();
    Recovery.ImageCopy.clear();
}

void OfferRecoveryCopies() {
    for (const FoundCopy& copy : CopiesToOffer()) {
        const std::string question =
            "Von der Karte " + copy.fileName + " gibt es eine Sicherungskopie" +
            WrittenAtText(copy.writtenAt) +
            runtime::Cp1252(" mit Änderungen, die nicht gespeichert wurden. Wiederherstellen?");
        switch (gui::RequesterMessage(kEditorTitle, question, "Wiederherstellen|Verwerfen",
                                      kRestore, -1)) {
            case kRestore:
                Restore(copy);
                return;
            case kDiscard:
                runtime::FileDelete(copy.MapPath());
                runtime::FileDelete(copy.ImagePath());
                break;
            default:
                break;
        }
    }
}

void ResetRecovery() { Recovery = RecoveryState{}; }

}  // namespace editor
