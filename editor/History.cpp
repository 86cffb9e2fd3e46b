// The history as logs of old values: one log per kind of value, and a list of steps that says
// how many records of each log a step owns. Undo swaps a step's records with the document in
// reverse order, which leaves the newer values in the records for redo, which swaps them back
// in order. Records of a step that is still being built follow those of the done steps.
#include "editor/History.h"

#include <deque>
#include <string>
#include <utility>

#include "editor/FieldChanges.h"
#include "editor/RecordLog.h"

namespace editor {
namespace {

// Record targets: the fields by their place in the array, then the header values, then the
// members of the players.
constexpr std::int32_t kHeaderBase = kFieldsSize * kFieldsSize;
constexpr std::int32_t MapDocument::*kHeaderValues[] = {
    &MapDocument::PlayerCount, &MapDocument::SlotCount,   &MapDocument::BallCount,
    &MapDocument::FieldWidth,  &MapDocument::FieldHeight, &MapDocument::LastFieldX,
    &MapDocument::LastFieldY,  &MapDocument::TileSetWidth};
constexpr std::int32_t kHeaderCount = std::size(kHeaderValues);
constexpr std::int32_t kPlayerBase = kHeaderBase + kHeaderCount;
constexpr std::int32_t PlayerStart::*kPlayerMembers[] = {&PlayerStart::X, &PlayerStart::Y,
                                                         &PlayerStart::Direction};
constexpr std::int32_t kMemberCount = std::size(kPlayerMembers);

constexpr std::int32_t kNoKey = -1;
// Steps with more records than this are not checked for writes that cancel out.
constexpr std::uint32_t kCancelCheckLimit = 256;

struct ValueRecord {
    std::int32_t target;
    std::int32_t value;
};
static_assert(sizeof(ValueRecord) == 8);

struct Step {
    std::uint32_t values = 0;
    std::uint32_t names = 0;
    std::uint32_t tileSets = 0;
    std::int32_t key = kNoKey;
};

struct Counts {
    std::size_t values = 0;
    std::size_t names = 0;
    std::size_t tileSets = 0;
};

struct Log {
    std::deque<Step> steps;  // oldest first; steps[0, doneSteps) are done, the rest undone
    RecordLog<ValueRecord> values;
    std::deque<std::string> names;
    std::deque<TileSetSource> tileSets;
    std::size_t doneSteps = 0;
    Counts done;               // records owned by the done steps
    std::int64_t dropped = 0;  // steps dropped at the front: positions are counted from the start
    std::int64_t saved = 0;    // position of the saved state, -1 when it cannot be reached
    std::int64_t extraBytes = 0;  // names' and tile sets' bytes
    std::int64_t limit = kDefaultHistoryLimit;
    std::uint64_t version = 0;
    int depth = 0;
    bool undone = false;     // undone steps follow the done ones
    bool suspended = false;  // the group belongs to the start of a cleared history
    bool plain = false;      // a record needs no more than its append (see UpdatePlain)
    bool mergeable = false;  // nothing but typing happened since the last step
    std::int32_t pendingKey = kNoKey;
};

Log gLog;

std::int64_t Position() { return gLog.dropped + static_cast<std::int64_t>(gLog.doneSteps); }

std::int64_t NameBytes(const std::string& name) {
    return static_cast<std::int64_t>(sizeof(std::string) + name.size());
}
std::int64_t TileSetBytes(const TileSetSource& source) {
    return static_cast<std::int64_t>(sizeof(TileSetSource) +
                                     (source.Image ? source.Image->size() : 0));
}

std::int32_t& Target(std::int32_t target) {
    if (target < kHeaderBase) return Document.Fields(target / kFieldsSize, target % kFieldsSize);
    if (target < kPlayerBase) return Document.*kHeaderValues[target - kHeaderBase];
    const std::int32_t i = target - kPlayerBase;
    return Document.Players(i / kMemberCount).*kPlayerMembers[i % kMemberCount];
}

template <typename T, typename Bytes>
void PopBack(std::deque<T>& log, std::size_t keep, Bytes bytes) {
    while (log.size() > keep) {
        gLog.extraBytes -= bytes(log.back());
        log.pop_back();
    }
}

template <typename T, typename Bytes>
void PopFront(std::deque<T>& log, std::size_t count, Bytes bytes) {
    for (; count > 0; --count) {
        gLog.extraBytes -= bytes(log.front());
        log.pop_front();
    }
}

// A record is a plain append inside a group that is being recorded and has no undone steps
// to drop first; SetField's fill of a grid runs on this alone.
void UpdatePlain() { gLog.plain = gLog.depth > 0 && !gLog.suspended && !gLog.undone; }

// A new change makes the undone steps unreachable.
void DropRedo() {
    gLog.steps.resize(gLog.doneSteps);
    gLog.values.resize(gLog.done.values);
    PopBack(gLog.names, gLog.done.names, NameBytes);
    PopBack(gLog.tileSets, gLog.done.tileSets, TileSetBytes);
    if (gLog.saved > Position()) gLog.saved = -1;
    gLog.undone = false;
    UpdatePlain();
}

Counts Pending() {
    if (gLog.doneSteps != gLog.steps.size()) return {};  // undone steps follow, not new records
    return {gLog.values.size() - gLog.done.values, gLog.names.size() - gLog.done.names,
            gLog.tileSets.size() - gLog.done.tileSets};
}

// True when the last step's records leave the document as it was before it: the first record
// of each target holds that target's value from before the step.
bool CancelsOut(const Step& step) {
    if (step.values + step.names + step.tileSets > kCancelCheckLimit) return false;
    const std::size_t first = gLog.values.size() - step.values;
    for (std::size_t i = first; i < gLog.values.size(); ++i) {
        bool earlier = false;
        for (std::size_t j = first; j < i && !earlier; ++j) {
            earlier = gLog.values[j].target == gLog.values[i].target;
        }
        if (!earlier && Target(gLog.values[i].target) != gLog.values[i].value) return false;
    }
    if (step.names > 0 && gLog.names[gLog.names.size() - step.names] != Document.MapName) {
        return false;
    }
    return step.tileSets == 0 ||
           gLog.tileSets[gLog.tileSets.size() - step.tileSets] == Document.TileSet;
}

void DropOldest() {
    const Step step = gLog.steps.front();
    gLog.steps.pop_front();
    gLog.values.pop_front(step.values);
    PopFront(gLog.names, step.names, NameBytes);
    PopFront(gLog.tileSets, step.tileSets, TileSetBytes);
    --gLog.doneSteps;
    gLog.done.values -= step.values;
    gLog.done.names -= step.names;
    gLog.done.tileSets -= step.tileSets;
    ++gLog.dropped;
    if (gLog.saved < gLog.dropped) gLog.saved = -1;
}

// Makes the pending records a step (or part of the previous one).
void Commit() {
    const Counts pending = Pending();
    const std::int32_t key = std::exchange(gLog.pendingKey, kNoKey);
    if (pending.values + pending.names + pending.tileSets == 0) return;
    const bool merge = gLog.mergeable && key != kNoKey && !gLog.steps.empty() &&
                       gLog.steps.back().key == key && Position() != gLog.saved;
    if (!merge) {
        gLog.steps.push_back(Step{0, 0, 0, key});
        ++gLog.doneSteps;
    }
    Step& step = gLog.steps.back();
    step.values += static_cast<std::uint32_t>(pending.values);
    step.names += static_cast<std::uint32_t>(pending.names);
    step.tileSets += static_cast<std::uint32_t>(pending.tileSets);
    gLog.done = {gLog.values.size(), gLog.names.size(), gLog.tileSets.size()};
    ++gLog.version;
    gLog.mergeable = key != kNoKey;
    if (CancelsOut(step)) {
        gLog.done.values -= step.values;
        gLog.done.names -= step.names;
        gLog.done.tileSets -= step.tileSets;
        --gLog.doneSteps;
        DropRedo();
        gLog.mergeable = false;
        return;
    }
    while (HistoryBytes() > gLog.limit && gLog.doneSteps > 1) DropOldest();
}

// Before a record: the undone steps go.
bool BeginRecord() {
    if (gLog.suspended) return false;
    if (gLog.undone) DropRedo();
    return true;
}

// After a record and the write it notes: outside any group it is a step at once.
void EndRecord() {
    if (gLog.depth == 0) Commit();
}

void Write(std::int32_t& place, std::int32_t target, std::int32_t v) {
    if (place == v) return;
    const std::int32_t old = place;
    place = v;
    detail::RecordValue(target, old);
}

// Swaps the records of a step with the document: backwards to undo, forwards to redo.
template <typename Log, typename Swap>
void SwapRecords(Log& log, std::size_t begin, std::size_t end, bool backwards, Swap swap) {
    if constexpr (requires { log.Visit(begin, end, backwards, swap); }) {
        log.Visit(begin, end, backwards, swap);
    } else if (backwards) {
        for (std::size_t i = end; i-- > begin;) swap(log[i]);
    } else {
        for (std::size_t i = begin; i < end; ++i) swap(log[i]);
    }
}

unsigned Apply(const Step& step, const Counts& from, bool backwards) {
    // A field's target is its place in the grid, which holds the columns one after another;
    // its fields were counted as used when they were first written.
    const auto& fields = std::as_const(Document.Fields);
    std::int32_t* const grid = fields.Size(0) == kFieldsSize && fields.Size(1) == kFieldsSize
                                   ? &Document.Fields(0, 0)
                                   : nullptr;
    // A step over a large part of the map says so once rather than field by field.
    const bool large = step.values > static_cast<std::uint32_t>(kHeaderBase / 8);
    if (large) NoteAllFieldsChanged();
    SwapRecords(gLog.values, from.values, from.values + step.values, backwards,
                [grid, large](ValueRecord& r) {
                    if (r.target >= kHeaderBase || grid == nullptr) {
                        std::swap(Target(r.target), r.value);
                        if (r.target < kHeaderBase && !large) NoteFieldChanged(r.target);
                        return;
                    }
                    std::swap(grid[r.target], r.value);
                    if (!large) NoteFieldChanged(r.target);
                });
    SwapRecords(gLog.names, from.names, from.names + step.names, backwards,
                [](std::string& name) { std::swap(Document.MapName, name); });
    SwapRecords(gLog.tileSets, from.tileSets, from.tileSets + step.tileSets, backwards,
                [](TileSetSource& source) { std::swap(Document.TileSet, source); });
    ++gLog.version;
    gLog.mergeable = false;
    return kTouchedDocument | (step.tileSets > 0 ? kTouchedTileSet : 0u);
}

}  // namespace

void detail::RecordValue(std::int32_t target, std::int32_t old) {
    if (target < kHeaderBase) NoteFieldChanged(target);
    if (gLog.plain) {
        gLog.values.push_back({target, old});
        return;
    }
    if (!BeginRecord()) return;
    gLog.values.push_back({target, old});
    EndRecord();
}

namespace {

// Fields(x, top..top + count - 1) := tileAt(0..count - 1), as SetField does field by field. A
// column's run lies in one piece: it is written and noted without a call per field, each field
// in the next free slot, which only a changed field keeps.
template <typename TileAt>
void WriteColumn(std::int32_t x, std::int32_t top, std::int32_t count, TileAt tileAt) {
    if (count <= 0) return;
    const std::int32_t bottom = top + count - 1;
    if (!gLog.plain || !FieldInArray(x, top) || !FieldInArray(x, bottom)) {
        for (std::int32_t i = 0; i < count; ++i) SetField(x, top + i, tileAt(i));
        return;
    }
    NoteFieldRunChanged(x, top, bottom);
    std::int32_t* column = &Document.Fields(x, top);
    Document.Fields.MarkRunUsed(column, count);
    std::int32_t target = x * kFieldsSize + top;
    for (std::int32_t done = 0; done < count;) {
        std::size_t room = 0;
        ValueRecord* out = gLog.values.Room(static_cast<std::size_t>(count - done), &room);
        std::size_t kept = 0;
        for (std::size_t i = 0; i < room; ++i, ++target, ++column, ++done) {
            const std::int32_t tile = tileAt(done);
            out[kept] = {target, *column};
            kept += *column != tile ? 1 : 0;
            *column = tile;
        }
        gLog.values.Advance(kept);
    }
}

}  // namespace

void SetFieldRun(std::int32_t x, std::int32_t top, std::int32_t bottom, std::int32_t tile) {
    WriteColumn(x, top, bottom - top + 1, [tile](std::int32_t) { return tile; });
}

void SetFieldColumn(std::int32_t x, std::int32_t top, const std::int32_t* tiles,
                    std::int32_t count) {
    WriteColumn(x, top, count, [tiles](std::int32_t i) { return tiles[i]; });
}

void SetValue(std::int32_t MapDocument::*value, std::int32_t v) {
    for (std::int32_t i = 0; i < kHeaderCount; ++i) {
        if (kHeaderValues[i] == value) Write(Document.*value, kHeaderBase + i, v);
    }
}

void SetPlayerValue(std::int32_t player, std::int32_t PlayerStart::*member, std::int32_t v) {
    if (player < 0 || player > Document.Players.UpperBound()) return;
    for (std::int32_t i = 0; i < kMemberCount; ++i) {
        if (kPlayerMembers[i] == member) {
            Write(Document.Players(player).*member, kPlayerBase + player * kMemberCount + i, v);
        }
    }
}

void SetMapName(std::string_view name) {
    if (Document.MapName == name) return;
    std::string old(name);
    std::swap(Document.MapName, old);
    if (!BeginRecord()) return;
    gLog.extraBytes += NameBytes(old);
    gLog.names.push_back(std::move(old));
    EndRecord();
}

void SetTileSet(const TileSetSource& source) {
    if (Document.TileSet == source) return;
    TileSetSource old = std::exchange(Document.TileSet, source);
    if (!BeginRecord()) return;
    gLog.extraBytes += TileSetBytes(old);
    gLog.tileSets.push_back(std::move(old));
    EndRecord();
}

void HistoryBeginGroup() {
    ++gLog.depth;
    UpdatePlain();
}

void HistoryEndGroup() {
    if (gLog.depth == 0 || --gLog.depth > 0) return;
    if (!gLog.suspended) Commit();
    gLog.suspended = false;
    gLog.pendingKey = kNoKey;
    UpdatePlain();
}

void HistoryMergeKey(std::int32_t key) { gLog.pendingKey = key; }

unsigned HistoryUndo() {
    Commit();
    if (gLog.doneSteps == 0) return 0;
    const Step step = gLog.steps[gLog.doneSteps - 1];
    gLog.done.values -= step.values;
    gLog.done.names -= step.names;
    gLog.done.tileSets -= step.tileSets;
    --gLog.doneSteps;
    gLog.undone = true;
    UpdatePlain();
    return Apply(step, gLog.done, true);
}

unsigned HistoryRedo() {
    Commit();
    if (gLog.doneSteps == gLog.steps.size()) return 0;
    const Step step = gLog.steps[gLog.doneSteps];
    const Counts from = gLog.done;
    gLog.done.values += step.values;
    gLog.done.names += step.names;
    gLog.done.tileSets += step.tileSets;
    ++gLog.doneSteps;
    gLog.undone = gLog.doneSteps != gLog.steps.size();
    UpdatePlain();
    return Apply(step, from, false);
}

bool HistoryCanUndo() {
    const Counts pending = Pending();
    return gLog.doneSteps != 0 || pending.values + pending.names + pending.tileSets != 0;
}

bool HistoryCanRedo() { return gLog.doneSteps != gLog.steps.size(); }

void HistoryClear() {
    Log fresh;
    fresh.limit = gLog.limit;
    fresh.version = gLog.version + 1;
    fresh.depth = gLog.depth;
    fresh.suspended = gLog.depth > 0;
    gLog = std::move(fresh);
    UpdatePlain();
}

void HistoryMarkSaved() {
    Commit();
    gLog.saved = Position();
    gLog.mergeable = false;
}

void HistoryMarkUnsaved() { gLog.saved = -1; }

bool HistoryChanged() {
    const Counts pending = Pending();
    return Position() != gLog.saved || pending.values + pending.names + pending.tileSets > 0;
}

std::uint64_t HistoryVersion() { return gLog.version; }

void HistorySetLimit(std::int64_t bytes) { gLog.limit = bytes; }

std::int64_t HistoryBytes() {
    return static_cast<std::int64_t>(gLog.values.size() * sizeof(ValueRecord) +
                                     gLog.steps.size() * sizeof(Step)) +
           gLog.extraBytes;
}

std::int64_t HistoryStepCount() { return static_cast<std::int64_t>(gLog.steps.size()); }

void ResetHistory() { gLog = Log{}; }

}  // namespace editor
