// The recovery copy: what a killed editor (power loss, kill -9) would otherwise lose.
//
// While the map has changes that no file holds, a copy of it is written beside the map at the
// latest DelayMs (30 s) after the first change that the copy does not hold yet:
//   Karten\<name>.MAP.<editor>.sicherung   the map, in MAP layout, read back by the one MAP reader;
//   Karten\<name>.PNG.<editor>.sicherung   the tile set's image, only while it differs from the
//                                          saved one.
// <editor> names the editor that writes it ("<process number>-<8 hex digits>", the digits drawn
// at its start), so that two editors on one map never write or remove each other's copy. Both
// are written safely (a new hidden file renamed over the previous copy). An unchanged editor
// writes nothing and waits without a timeout. Saving, discarding the changes (Verwerfen, Neu,
// Öffnen, undoing back to the saved state) and a normal end remove the editor's own copy; the
// next start offers every copy whose editor no longer runs, newest first, with the time it was
// written ("Wiederherstellen" / "Verwerfen"), and the copies of older versions of the editor
// (Karten\<name>.MAP.sicherung, Karten\<name>.PNG.sicherung) as well.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace editor {

inline constexpr std::int64_t kRecoveryDelayMs = 30000;

struct RecoveryState {
    bool Written = false;       // a copy is on disk
    std::string CopyOf;         // the FileName it was written for
    std::string MapCopy;        // its path: this editor's, or the one it was restored from
    std::string ImageCopy;      // the path of its tile set's image; "" without one
    std::uint64_t Version = 0;  // the HistoryVersion it holds
    std::int64_t DueAt = -1;    // ElapsedMilliseconds when a new copy falls due; -1 none
    std::int64_t DelayMs = kRecoveryDelayMs;
};

extern RecoveryState Recovery;

// After each pass: a copy falls due DelayMs after the map changed away from what the copy
// holds; an unchanged map needs none, and its copy goes at once.
void KeepRecoveryCopyInStep();

// Milliseconds until the copy falls due (0 when it is due), -1 when none is due.
std::int64_t RecoveryWaitMs(std::int64_t now);

// Writes the copy of the current document; when that fails, tries again DelayMs after `now`.
void WriteRecoveryCopy(std::int64_t now);

// Removes the copy (also at a normal end): only this editor's own, or the one it restored.
void RemoveRecoveryCopy();

// At start-up: offers each recovery copy in the map folder that no running editor keeps, newest
// first. "Wiederherstellen" opens it as the changed map under its name (and offers no more);
// "Verwerfen" deletes it.
void OfferRecoveryCopies();

// This editor's copy of a map: "Karten\<fileName>.MAP.<editor>.sicherung".
std::string RecoveryCopyPath(std::string_view fileName);

// Back to the state before start-up, for a fresh run in the same process.
void ResetRecovery();

}  // namespace editor
