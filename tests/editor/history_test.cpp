// The undo history against the MAP file it must lead back to: every kind of change undone
// back to the saved bytes and redone again, what is no change, how passes and typing group
// into steps, the saved point, and the bound.
#include "editor/History.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor/MapDocument.h"
#include "editor/MapFile.h"
#include "runtime/File.h"
#include "support/TempDir.h"

namespace {

using namespace editor;
using testing_support::ReadBytes;
using Bytes = std::vector<std::uint8_t>;

class HistoryTest : public ::testing::Test {
protected:
    HistoryTest() {
        runtime::FileLibraryInit();
        Document = MapDocument{};
        ResetDocument();
        ResetHistory();
    }
    ~HistoryTest() override {
        ResetHistory();
        runtime::FileLibraryEnd();
    }

    // What a save would write now.
    static Bytes SavedBytes() {
        EXPECT_EQ(WriteMapFile(), 1);
        return ReadBytes("Karten/NONAME.MAP");
    }

    // One pass of the main loop that runs `change`.
    static void Pass(const std::function<void()>& change) {
        HistoryBeginGroup();
        change();
        HistoryEndGroup();
    }

    testing_support::TempDir dir;
};

TEST_F(HistoryTest, EveryKindOfChangeIsUndoneToTheSavedBytesAndRedone) {
    // The document holds values a file does not: fields beyond the bounds and players above
    // PlayerCount must come back as they were, too.
    Document.Fields(7, 2) = 5;
    Document.Players(3) = {30, 40, 90};
    Document.MapName = "Wiese \x80\x9F";
    HistoryMarkSaved();
    const Bytes saved = SavedBytes();
    const TileSetSource tileSetBefore = Document.TileSet;
    const std::int32_t tileSetWidthBefore = Document.TileSetWidth;

    struct Change {
        const char* what;
        std::function<void()> apply;
    };
    const auto image = std::make_shared<const std::vector<std::uint8_t>>(Bytes{1, 2, 3});
    const Change changes[] = {
        {"a field inside the bounds", [] { SetField(1, 4, 9); }},
        {"a field outside them", [] { SetField(7, 2, 6); }},
        {"the last field of the array", [] { SetField(999, 999, 3); }},
        {"the bounds shrink", [] { SetValue(&MapDocument::LastFieldX, 2); }},
        {"every header value",
         [] {
             for (auto value :
                  {&MapDocument::PlayerCount, &MapDocument::SlotCount, &MapDocument::BallCount,
                   &MapDocument::FieldWidth, &MapDocument::FieldHeight, &MapDocument::LastFieldY,
                   &MapDocument::TileSetWidth}) {
                 SetValue(value, Document.*value + 3);
             }
         }},
        {"a player's position and direction",
         [] {
             SetPlayerValue(1, &PlayerStart::X, -8);
             SetPlayerValue(1, &PlayerStart::Y, 42);
             SetPlayerValue(1, &PlayerStart::Direction, 360);
         }},
        {"a player above PlayerCount", [] { SetPlayerValue(3, &PlayerStart::Y, 1); }},
        {"the name, with bytes 0x80 to 0x9F",
         [] {
             SetMapName(
                 "\x8A\x9A"
                 "berg");
         }},
        {"the tile set",
         [&] {
             SetTileSet(TileSetSource{image, 0, 0});
         }},
    };
    std::vector<Bytes> after;
    for (const Change& change : changes) {
        Pass(change.apply);
        after.push_back(SavedBytes());
    }
    ASSERT_EQ(HistoryStepCount(), static_cast<std::int64_t>(std::size(changes)));
    EXPECT_TRUE(HistoryChanged());

    // Back step by step: each undo gives the bytes before its step.
    for (std::size_t i = std::size(changes); i-- > 0;) {
        SCOPED_TRACE(changes[i].what);
        const unsigned touched = HistoryUndo();
        EXPECT_NE(touched & kTouchedDocument, 0u);
        EXPECT_EQ((touched & kTouchedTileSet) != 0, i + 1 == std::size(changes));
        EXPECT_EQ(SavedBytes(), i > 0 ? after[i - 1] : saved);
    }
    EXPECT_EQ(HistoryUndo(), 0u);
    EXPECT_FALSE(HistoryChanged());
    EXPECT_EQ(Document.Fields(7, 2), 5);
    EXPECT_EQ(Document.Fields(999, 999), 0);
    EXPECT_EQ(Document.Players(3).X, 30);
    EXPECT_EQ(Document.Players(3).Y, 40);
    EXPECT_EQ(Document.TileSet, tileSetBefore);
    EXPECT_EQ(Document.TileSetWidth, tileSetWidthBefore);

    for (std::size_t i = 0; i < std::size(changes); ++i) {
        SCOPED_TRACE(changes[i].what);
        EXPECT_NE(HistoryRedo(), 0u);
        EXPECT_EQ(SavedBytes(), after[i]);
    }
    EXPECT_EQ(HistoryRedo(), 0u);
    EXPECT_EQ(Document.TileSet.Image, image);
}

TEST_F(HistoryTest, WritesThatChangeNothingMakeNoStep) {
    struct Case {
        const char* what;
        std::function<void()> apply;
    };
    const Case cases[] = {
        {"a field painted with its tile", [] { SetField(2, 2, 0); }},
        {"a value typed that it already has", [] { SetValue(&MapDocument::SlotCount, 8); }},
        {"the same name", [] { SetMapName("Neue Karte"); }},
        {"a field outside the array", [] { SetField(1000, 0, 4); }},
        {"a player outside the array", [] { SetPlayerValue(1001, &PlayerStart::X, 4); }},
        // Typed too large and corrected back in the same pass.
        {"a value and its correction",
         [] {
             SetValue(&MapDocument::PlayerCount, 640);
             SetValue(&MapDocument::PlayerCount, 1);
         }},
        {"a field painted and painted back",
         [] {
             SetField(0, 0, 3);
             SetField(0, 0, 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Pass(c.apply);
        EXPECT_EQ(HistoryStepCount(), 0);
        EXPECT_FALSE(HistoryChanged());
    }
}

TEST_F(HistoryTest, GroupsNestAndAWriteOutsideAnyGroupIsAStepOfItsOwn) {
    HistoryBeginGroup();  // a stroke over several passes
    for (int x = 0; x < 4; ++x) Pass([x] { SetField(x, 1, 2); });
    HistoryEndGroup();
    EXPECT_EQ(HistoryStepCount(), 1);
    SetField(5, 5, 1);
    SetField(5, 4, 1);
    EXPECT_EQ(HistoryStepCount(), 3);
    HistoryUndo();
    HistoryUndo();
    EXPECT_EQ(Document.Fields(5, 5), 0);
    HistoryUndo();
    for (int x = 0; x < 4; ++x) EXPECT_EQ(Document.Fields(x, 1), 0);

    // Undo while a stroke is still under way takes back what it did so far.
    HistoryBeginGroup();
    SetField(0, 0, 7);
    HistoryUndo();
    EXPECT_EQ(Document.Fields(0, 0), 0);
    SetField(1, 0, 7);
    HistoryEndGroup();
    HistoryUndo();
    EXPECT_EQ(Document.Fields(1, 0), 0);
}

TEST_F(HistoryTest, TypingIntoOneFieldIsOneStepUntilSomethingElseHappens) {
    const auto type = [](std::int32_t field, const char* name) {
        HistoryBeginGroup();
        HistoryMergeKey(field);
        SetMapName(name);
        HistoryEndGroup();
    };
    type(18, "W");
    type(18, "Wa");
    type(18, "Wal");
    EXPECT_EQ(HistoryStepCount(), 1);
    type(17, "Walx");  // another field
    EXPECT_EQ(HistoryStepCount(), 2);
    type(17, "Walxy");
    HistoryMarkSaved();
    type(17, "Walxyz");  // after a save
    EXPECT_EQ(HistoryStepCount(), 3);
    HistoryUndo();
    HistoryRedo();
    type(17, "Walxyz!");  // after an undo
    EXPECT_EQ(HistoryStepCount(), 4);
    HistoryUndo();
    HistoryUndo();
    EXPECT_EQ(Document.MapName, "Walxy");
    EXPECT_FALSE(HistoryChanged());
    HistoryUndo();
    EXPECT_EQ(Document.MapName, "Wal");
    HistoryUndo();
    EXPECT_EQ(Document.MapName, "Neue Karte");

    // Typed and taken back with backspace: no change at all.
    ResetHistory();
    type(18, "Neue Kartex");
    type(18, "Neue Karte");
    EXPECT_EQ(HistoryStepCount(), 0);
    EXPECT_FALSE(HistoryChanged());
}

TEST_F(HistoryTest, TheSavedPointIsFoundAgainUntilANewChangeMakesItUnreachable) {
    Pass([] { SetField(0, 0, 1); });
    HistoryMarkSaved();
    Pass([] { SetField(0, 0, 2); });
    EXPECT_TRUE(HistoryChanged());
    HistoryUndo();
    EXPECT_FALSE(HistoryChanged());
    HistoryUndo();
    EXPECT_TRUE(HistoryChanged());  // before the save
    HistoryRedo();
    EXPECT_FALSE(HistoryChanged());

    HistoryUndo();
    Pass([] { SetField(3, 3, 3); });  // the saved state is no longer on the way
    EXPECT_TRUE(HistoryChanged());
    HistoryUndo();
    EXPECT_TRUE(HistoryChanged());
    EXPECT_EQ(HistoryRedo(), kTouchedDocument);
    EXPECT_EQ(HistoryRedo(), 0u);  // the step after the save is gone

    // Clearing inside a pass: the rest of that pass belongs to the new start.
    HistoryBeginGroup();
    HistoryClear();
    SetValue(&MapDocument::FieldWidth, 1);  // a correction after loading
    HistoryEndGroup();
    EXPECT_FALSE(HistoryChanged());
    EXPECT_EQ(HistoryUndo(), 0u);
    HistoryMarkUnsaved();
    EXPECT_TRUE(HistoryChanged());
}

TEST_F(HistoryTest, TheOldestStepsGoFirstWhenTheBoundIsReached) {
    HistorySetLimit(4096);
    Pass([] { SetField(0, 0, 1); });
    HistoryMarkSaved();
    for (int y = 0; y < 1000; ++y) Pass([y] { SetField(1, y, 2); });
    EXPECT_LE(HistoryBytes(), 4096);
    const std::int64_t kept = HistoryStepCount();
    EXPECT_GT(kept, 100);
    std::int64_t undone = 0;
    while (HistoryUndo() != 0) ++undone;
    EXPECT_EQ(undone, kept);
    EXPECT_EQ(Document.Fields(1, 999), 0);  // the newest steps are all there
    EXPECT_EQ(Document.Fields(1, 0), 2);    // the oldest went
    EXPECT_TRUE(HistoryChanged());          // and with them the saved point

    // One step larger than the bound stays: the newest step can always be undone.
    ResetHistory();
    HistorySetLimit(4096);
    Pass([] {
        for (int x = 0; x < kFieldsSize; ++x) SetField(x, 0, 5);
    });
    EXPECT_EQ(HistoryStepCount(), 1);
    EXPECT_GT(HistoryBytes(), 4096);
    HistoryUndo();
    EXPECT_EQ(Document.Fields(999, 0), 0);
}

TEST_F(HistoryTest, PaintingAWholeMapFieldByFieldStaysWithinTheDefaultBound) {
    Document.LastFieldX = 999;
    Document.LastFieldY = 999;
    for (int x = 0; x < kFieldsSize; ++x) {
        for (int y = 0; y < kFieldsSize; ++y) Pass([x, y] { SetField(x, y, 1); });
    }
    EXPECT_LE(HistoryBytes(), kDefaultHistoryLimit);
    EXPECT_EQ(HistoryStepCount(), std::int64_t{kFieldsSize} * kFieldsSize);
    // A fill of the whole grid in one step on top of that.
    Pass([] {
        for (int x = 0; x < kFieldsSize; ++x) {
            for (int y = 0; y < kFieldsSize; ++y) SetField(x, y, 2);
        }
    });
    EXPECT_LE(HistoryBytes(), kDefaultHistoryLimit);
    HistoryUndo();
    EXPECT_EQ(Document.Fields(500, 500), 1);
}

}  // namespace
