// Writing, removing and offering the recovery copy.
#include "editor/Recovery.h"

#include <algorithm>

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

constexpr std::string_view kMapCopySuffix = ".MAP.sicherung";
constexpr std::string_view kImageCopySuffix = ".PNG.sicherung";
enum Answer : std::int32_t { kRestore = 0, kDiscard = 1 };

std::string ImageCopyPath(std::string_view fileName) {
    return std::string(kMapFolder) + "\\" + std::string(fileName) + std::string(kImageCopySuffix);
}

void DeleteCopy(std::string_view fileName) {
    runtime::FileDelete(RecoveryCopyPath(fileName));
    runtime::FileDelete(ImageCopyPath(fileName));
}

void Restore(const std::string& fileName) {
    Document.FileName = fileName;
    // Outside a pass: the copy gets the corrections an opened map gets in its pass before
    // anything uses its values (a field size of 0 would divide by zero at the next event).
    HistoryBeginGroup();
    LoadMapFrom(RecoveryCopyPath(fileName));
    const std::string imageCopy = ImageCopyPath(fileName);
    const bool image = runtime::FileExists(imageCopy) != 0;
    if (image) LoadTileSetFile(imageCopy);
    ValidateDocument();
    HistoryEndGroup();
    HistoryMarkUnsaved();
    Recovery = RecoveryState{true, fileName, image, HistoryVersion(), -1, Recovery.DelayMs};
    ShowStatus("Sicherungskopie wiederhergestellt: " + RecoveryCopyPath(fileName));
    RefreshControls();
}

}  // namespace

std::string RecoveryCopyPath(std::string_view fileName) {
    return std::string(kMapFolder) + "\\" + std::string(fileName) + std::string(kMapCopySuffix);
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
    if (Recovery.Written && Recovery.CopyOf != Document.FileName) RemoveRecoveryCopy();
    const bool image = TileSetNeedsWriting(false);
    const std::string imageCopy = ImageCopyPath(Document.FileName);
    bool written = !image || WriteTileSetImage(imageCopy) != 0;
    written = written && WriteMapFileTo(RecoveryCopyPath(Document.FileName)) != 0;
    if (!written) {
        Recovery.DueAt = now + Recovery.DelayMs;
        return;
    }
    if (!image && Recovery.ImageCopied) runtime::FileDelete(imageCopy);
    Recovery =
        RecoveryState{true, Document.FileName, image, HistoryVersion(), -1, Recovery.DelayMs};
}

void RemoveRecoveryCopy() {
    if (!Recovery.Written) return;
    runtime::FileDelete(RecoveryCopyPath(Recovery.CopyOf));
    if (Recovery.ImageCopied) runtime::FileDelete(ImageCopyPath(Recovery.CopyOf));
    Recovery.Written = false;
    Recovery.ImageCopied = false;
}

void OfferRecoveryCopies() {
    for (const std::string& file : runtime::FolderFiles(kMapFolder)) {
        if (!file.ends_with(kMapCopySuffix)) continue;
        const std::string fileName = file.substr(0, file.size() - kMapCopySuffix.size());
        const std::string question = "Von der Karte " + fileName +
                                     runtime::Cp1252(
                                         " gibt es eine Sicherungskopie mit Änderungen, die nicht "
                                         "gespeichert wurden. Wiederherstellen?");
        switch (gui::RequesterMessage(kEditorTitle, question, "Wiederherstellen|Verwerfen",
                                      kRestore, -1)) {
            case kRestore:
                Restore(fileName);
                return;
            case kDiscard:
                DeleteCopy(fileName);
                break;
            default:
                break;
        }
    }
}

void ResetRecovery() { Recovery = RecoveryState{}; }

}  // namespace editor
