// The undo history of the document.
//
// Every change of the document goes through the Set functions below. Each writes the new
// value and keeps the old one, unless the value is already there, which is no change. The
// writes between the outermost HistoryBeginGroup and HistoryEndGroup become one step;
// HistoryUndo takes a step back exactly (also fields outside the map's bounds and player
// entries above PlayerCount) and HistoryRedo brings it again.
//
// Connecting editing code, for example a paint stroke that spans many passes of the main loop:
//
//     HistoryBeginGroup();        // where the stroke starts (the left button goes down)
//     SetField(x, y, brush);      // any number of fields, over any number of passes
//     HistoryEndGroup();          // where it ends; groups nest, the outermost end makes the step
//
// The main loop wraps every pass in a group, so whatever one pass changes is one step with no
// further call; a write outside any group is a step of its own. SetField costs a compare and,
// for a real change, one 8-byte record appended to a log: a fill of all 1,000,000 fields is one
// step of 8 MB, and no call ever copies or compares the grid.
//
// A step whose writes cancel out (a typed value corrected back to what it was) is no step.
// Consecutive passes that change the document by typing into the same text field
// (HistoryMergeKey) make one step. An undo while a group is open makes what the group wrote
// so far a step and takes it back; the group's later writes make the next step. The history
// holds at most kDefaultHistoryLimit bytes of records (64 MiB); beyond that the oldest steps go
// first, the newest step always stays. Neu and Öffnen start an empty history (HistoryClear);
// the map is changed while the history is not at the point of the last save (HistoryChanged).
#pragma once

#include <cstdint>
#include <string_view>

#include "editor/MapDocument.h"

namespace editor {

inline constexpr std::int64_t kDefaultHistoryLimit = std::int64_t{64} << 20;

// ---- Writing the document ----------------------------------------------------------------

namespace detail {
// Notes the old value of a field (target x * 1000 + y) or of another value.
void RecordValue(std::int32_t target, std::int32_t old);
}  // namespace detail

// Fields(x, y) := tile. A field outside the Fields array takes nothing. Inline, so that a fill
// pays a call only for the fields it changes.
inline void SetField(std::int32_t x, std::int32_t y, std::int32_t tile) {
    if (!FieldInArray(x, y)) return;
    std::int32_t& field = Document.Fields(x, y);
    if (field == tile) return;
    const std::int32_t old = field;
    field = tile;
    detail::RecordValue(x * kFieldsSize + y, old);
}
// Fields(x, top..bottom) := tile, as SetField does field by field; a fill's runs take this.
void SetFieldRun(std::int32_t x, std::int32_t top, std::int32_t bottom, std::int32_t tile);
// Fields(x, top..top + count - 1) := tiles[0..count - 1], as SetField does field by field; a
// block of fields put down takes this.
void SetFieldColumn(std::int32_t x, std::int32_t top, const std::int32_t* tiles,
                    std::int32_t count);
// A header value of the document, e.g. SetValue(&MapDocument::SlotCount, 6).
void SetValue(std::int32_t MapDocument::*value, std::int32_t v);
// A member of a player's start record, e.g. SetPlayerValue(2, &PlayerStart::X, 100). A
// player outside the Players array takes nothing.
void SetPlayerValue(std::int32_t player, std::int32_t PlayerStart::*member, std::int32_t v);
void SetMapName(std::string_view name);
// Document.TileSet := source. Making sprite 0 from it is the caller's part.
void SetTileSet(const TileSetSource& source);

// ---- Steps -----------------------------------------------------------------------------------

void HistoryBeginGroup();
void HistoryEndGroup();
// The changes of the current group were typed into text field `key`: the step joins the
// previous step when that was typed into the same field and nothing else happened between.
void HistoryMergeKey(std::int32_t key);

// What an undo or redo changed, for the caller to show; 0 when there was nothing to do.
enum HistoryTouched : unsigned {
    kTouchedDocument = 1,  // values, fields or the name
    kTouchedTileSet = 2,   // Document.TileSet: sprite 0 must be made anew
};
// Changes of a group still open become a step of their own first.
unsigned HistoryUndo();
unsigned HistoryRedo();
// Whether HistoryUndo / HistoryRedo would take a step now (a group still open with changes
// can be undone).
bool HistoryCanUndo();
bool HistoryCanRedo();

// ---- Saved state -------------------------------------------------------------------------

// An empty history whose start is the saved state (Neu, Öffnen). Writes in the rest of the
// current group belong to that start too (the corrections after loading a map).
void HistoryClear();
// The document as it is now is what its file holds.
void HistoryMarkSaved();
// No state of the history is what a file holds (a map restored from a recovery copy).
void HistoryMarkUnsaved();
// True while the document differs from its last Neu, Öffnen or successful save.
bool HistoryChanged();
// A number that changes whenever the document changes through the history.
std::uint64_t HistoryVersion();

// ---- Bounds, for tests and benchmarks -----------------------------------------------------

void HistorySetLimit(std::int64_t bytes);
std::int64_t HistoryBytes();      // memory held by records and steps
std::int64_t HistoryStepCount();  // steps that can be undone or redone

// Back to the state before start-up, for a fresh run in the same process.
void ResetHistory();

}  // namespace editor
