#include "editor/MapFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/MapDocument.h"
#include "editor/SafeFile.h"
#include "runtime/File.h"
#include "runtime/RtString.h"
#include "support/MapBytes.h"
#include "support/Processes.h"
#include "support/TempDir.h"

namespace {

using editor::Document;
using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;
using testing_support::Bytes;
using testing_support::MapBytes;

class MapFileTest : public ::testing::Test {
protected:
    MapFileTest() {
        runtime::FileLibraryInit();
        Document = editor::MapDocument{};
        editor::ResetDocument();
    }
    ~MapFileTest() override { runtime::FileLibraryEnd(); }

    void Load(const std::string& base, const Bytes& bytes) {
        std::filesystem::create_directories("Karten");
        WriteBytes("Karten/" + base + ".MAP", bytes);
        Document.FileName = base;
        editor::ReadMapFile();
    }

    TempDir dir;
};

TEST_F(MapFileTest, TheNewMapIs196BytesByteForByte) {
    ASSERT_EQ(editor::WriteMapFile(), 1);
    Bytes expected = MapBytes("Neue Karte", {1, 8, 4, 64, 64, 5, 5});
    expected.resize(expected.size() + 12 + 36 * 4, 0);
    const Bytes written = ReadBytes("Karten/NONAME.MAP");
    EXPECT_EQ(written.size(), 196u);
    EXPECT_EQ(written, expected);
    EXPECT_FALSE(std::filesystem::exists("Karten/NONAME.PNG"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("Karten"), {}), 1);  // no leftovers
}

TEST_F(MapFileTest, WriteThenReadRestoresWhatIsStoredAndNothingElse) {
    Document.FileName = "Wald";
    Document.MapName = runtime::Cp1252("Großer Wald");
    Document.PlayerCount = 3;
    Document.SlotCount = 12;
    Document.BallCount = -2;
    Document.FieldWidth = 32;
    Document.FieldHeight = 48;
    Document.LastFieldX = 999;
    Document.LastFieldY = 2;
    for (int p = 1; p <= 4; ++p) Document.Players(p) = {p * 100, -p, p == 2 ? 360 : 5 * p};
    for (int x = 0; x <= 999; ++x) {
        for (int y = 0; y <= 3; ++y) Document.Fields(x, y) = x * 7 + y;
    }
    Document.Fields(0, 999) = 77;
    ASSERT_EQ(editor::WriteMapFile(), 1);
    EXPECT_EQ(std::filesystem::file_size("Karten/Wald.MAP"), 30u + 11 + 36 + 4 * 1000 * 3);
    EXPECT_EQ(ReadBytes("Karten/Wald.MAP")[0], 11);  // "ß" counts one CP1252 byte

    const std::string name = Document.MapName;
    editor::ResetDocument();
    Document.FileName = "Wald";
    ASSERT_EQ(editor::ReadMapFile(), 1);
    EXPECT_EQ(Document.MapName, name);
    EXPECT_EQ(Document.PlayerCount, 3);
    EXPECT_EQ(Document.SlotCount, 12);
    EXPECT_EQ(Document.BallCount, -2);
    EXPECT_EQ(Document.FieldWidth, 32);
    EXPECT_EQ(Document.FieldHeight, 48);
    EXPECT_EQ(Document.LastFieldX, 999);
    EXPECT_EQ(Document.LastFieldY, 2);
    EXPECT_EQ(Document.Players(2).Direction, 360);
    EXPECT_EQ(Document.Players(3).X, 300);
    EXPECT_EQ(Document.Players(4).X, 0);  // above PlayerCount: not stored
    EXPECT_EQ(Document.Fields(999, 2), 999 * 7 + 2);
    EXPECT_EQ(Document.Fields(500, 1), 3501);
    EXPECT_EQ(Document.Fields(5, 3), 0);  // outside the bounds: not stored
    EXPECT_EQ(Document.Fields(0, 999), 0);
}

TEST_F(MapFileTest, SmallLayoutsStoreExactlyTheirValues) {
    Document.MapName.clear();
    Document.PlayerCount = 0;
    Document.LastFieldX = 0;
    Document.LastFieldY = 2;
    for (int y = 0; y < 3; ++y) Document.Fields(0, y) = 10 + y;
    Document.Fields(1, 0) = 99;
    editor::WriteMapFile();
    Bytes expected = MapBytes("", {0, 8, 4, 64, 64, 0, 2}, {10, 11, 12});
    EXPECT_EQ(ReadBytes("Karten/NONAME.MAP"), expected);  // 00 00, then PlayerCount at once
}

TEST_F(MapFileTest, OverlongNamesAreCutSoLengthAndBytesAgree) {
    Document.MapName = std::string(40000, 'x');
    editor::WriteMapFile();
    Document.FileName = "NONAME";
    editor::ReadMapFile();
    EXPECT_EQ(Document.MapName.size(), 32767u);
    EXPECT_EQ(Document.PlayerCount, 1);
    EXPECT_EQ(Document.LastFieldY, 5);
}

TEST_F(MapFileTest, AMissingFileGivesTheEmptyDocument) {
    Document.FileName = "Fehlt";
    Document.Fields(0, 0) = 5;
    EXPECT_EQ(editor::ReadMapFile(), 0);
    EXPECT_EQ(Document.MapName, "");
    EXPECT_EQ(Document.PlayerCount | Document.SlotCount | Document.BallCount | Document.FieldWidth |
                  Document.FieldHeight | Document.LastFieldX | Document.LastFieldY,
              0);
    EXPECT_EQ(Document.Fields(0, 0), 0);
    EXPECT_EQ(Document.FileName, "Fehlt");
}

TEST_F(MapFileTest, TruncatedFilesReadTheRestAsZero) {
    const Bytes full = MapBytes("Karte", {2, 8, 4, 64, 64, 1, 1},
                                {10, 20, 90, 30, 40, 180, 1, 2, 0x0D0C0B0A, 0x04030201});
    constexpr std::size_t kGrid = 2 + 5 + 28 + 24;  // where the field values start
    for (std::size_t cut :
         {std::size_t{0}, std::size_t{1}, std::size_t{4}, std::size_t{9}, std::size_t{20},
          std::size_t{37}, std::size_t{50}, full.size() - 4, kGrid + 8 + 1, full.size() - 1}) {
        SCOPED_TRACE(cut);
        Load("Kaputt", Bytes(full.begin(), full.begin() + cut));
        // What the file still holds is read back (a cut value keeps its low bytes); the rest
        // is zero.
        const std::int32_t expectCount = cut >= 8 ? 2 : 0;
        EXPECT_EQ(Document.PlayerCount, expectCount);
        if (cut >= 2 + 5 + 28 + 12) {
            EXPECT_EQ(Document.Players(1).Direction, 90);
        }
        EXPECT_EQ(Document.Players(2).X, cut >= 2 + 5 + 28 + 13 ? 30 : 0);
        // Field (1, 0) cut one byte in, field (1, 1) three bytes in.
        EXPECT_EQ(Document.Fields(1, 0), cut == kGrid + 9    ? 0x0A
                                         : cut >= kGrid + 12 ? 0x0D0C0B0A
                                                             : 0);
        EXPECT_EQ(Document.Fields(1, 1), cut == full.size() - 1 ? 0x030201 : 0);
    }
    Load("Ganz", full);
    EXPECT_EQ(Document.Fields(1, 1), 0x04030201);
    EXPECT_EQ(Document.Fields(0, 1), 2);
}

// Loading reuses the field array without clearing all of it: nothing of a larger map loaded
// before may show through, whether the small map is whole, cut, or missing.
TEST_F(MapFileTest, ALoadLeavesNothingOfTheLargerMapBefore) {
    Document.FileName = "Gross";
    Document.PlayerCount = 64;
    Document.LastFieldX = 999;
    Document.LastFieldY = 999;
    for (int p = 1; p <= 64; ++p) Document.Players(p) = {p, p, p};
    for (int x = 0; x < 1000; ++x) {
        for (int y = 0; y < 1000; ++y) Document.Fields(x, y) = 1 + (x + y) % 7;
    }
    ASSERT_EQ(editor::WriteMapFile(), 1);

    // Three columns of two rows: (0, 0) 11, (0, 1) 12, (1, 0) 21, (1, 1) 22, (2, 0) 31 ...
    const Bytes small =
        MapBytes("klein", {1, 8, 4, 24, 40, 2, 1}, {5, 6, 90, 11, 12, 21, 22, 31, 0x04030201});
    std::vector<std::int32_t> tall;  // 1000 rows: a column lies in the array as in the file
    for (int i = 1; i <= 1500; ++i) tall.push_back(i);
    struct Case {
        const char* what;
        Bytes bytes;  // empty: no file
        std::map<std::pair<int, int>, std::int32_t> fields;
    };
    const std::map<std::pair<int, int>, std::int32_t> smallFields = {
        {{0, 0}, 11}, {{0, 1}, 12}, {{1, 0}, 21}, {{1, 1}, 22}, {{2, 0}, 31}, {{2, 1}, 0x04030201}};
    std::map<std::pair<int, int>, std::int32_t> tallFields;
    for (int i = 0; i < 1500; ++i) tallFields[{i / 1000, i % 1000}] = i + 1;
    const Case cases[] = {
        {"whole", small, smallFields},
        {"cut one byte into its last value",
         Bytes(small.begin(), small.end() - 3),
         {{{0, 0}, 11}, {{0, 1}, 12}, {{1, 0}, 21}, {{1, 1}, 22}, {{2, 0}, 31}, {{2, 1}, 1}}},
        {"cut in its second column",
         Bytes(small.begin(), small.end() - 12),
         {{{0, 0}, 11}, {{0, 1}, 12}, {{1, 0}, 21}}},
        {"a thousand rows high, cut in its second column",
         MapBytes("hoch", {0, 8, 4, 64, 64, 1, 999}, tall), tallFields},
        {"missing", {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Document.FileName = "Gross";
        ASSERT_EQ(editor::ReadMapFile(), 1);
        ASSERT_EQ(Document.Fields(999, 999), 1 + 1998 % 7);
        if (c.bytes.empty()) {
            Document.FileName = "Fehlt";
            editor::ReadMapFile();
        } else {
            Load("Klein", c.bytes);
        }
        std::int64_t wrong = 0;
        for (int x = 0; x < 1000; ++x) {
            for (int y = 0; y < 1000; ++y) {
                const auto found = c.fields.find({x, y});
                const std::int32_t expected = found == c.fields.end() ? 0 : found->second;
                if (std::as_const(Document.Fields)(x, y) != expected && wrong++ == 0) {
                    ADD_FAILURE() << "first wrong field (" << x << ", " << y << ")";
                }
            }
        }
        EXPECT_EQ(wrong, 0);
        for (int p = 2; p <= 1000; ++p) EXPECT_EQ(Document.Players(p).X, 0) << p;
    }
}

TEST_F(MapFileTest, DamagedHeadersNeverReachOutsideTheArraysNorLoopForever) {
    struct Case {
        const char* what;
        Bytes bytes;
    };
    std::vector<std::int32_t> manyPlayers;
    for (int p = 1; p <= 1002; ++p) manyPlayers.insert(manyPlayers.end(), {p, -p, 5});
    manyPlayers.insert(manyPlayers.end(), {42, 43});  // fields after the players stay in step
    const Case cases[] = {
        {"huge grid", MapBytes("x", {1, 8, 4, 64, 64, INT_MAX, INT_MAX}, {0, 0, 0, 1, 2})},
        {"huge player count", MapBytes("x", {INT_MAX, 8, 4, 64, 64, 0, 0}, {1, 2, 3})},
        {"players beyond the array", MapBytes("x", {1002, 8, 4, 64, 64, 0, 1}, manyPlayers)},
        {"columns beyond 999",
         MapBytes("x", {1, 8, 4, 64, 64, 1000, 0}, std::vector<std::int32_t>(3 + 1001, 6))},
        {"negative bounds", MapBytes("x", {-5, 8, 4, 64, 64, INT_MAX, -3}, {1, 2, 3})},
        {"negative name length", Bytes{0xFF, 0xFF, 1, 0, 0, 0}},
        {"name longer than the file", Bytes{0x10, 0x00, 'a', 'b'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto start = std::chrono::steady_clock::now();
        Load("Kaputt", c.bytes);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    }
    // Spot checks on what was kept.
    Load("Kaputt", MapBytes("x", {1002, 8, 4, 64, 64, 0, 1}, manyPlayers));
    EXPECT_EQ(Document.Players(1000).X, 1000);
    EXPECT_EQ(Document.Fields(0, 0), 42);
    EXPECT_EQ(Document.Fields(0, 1), 43);
    Load("Kaputt", Bytes{0xFF, 0xFF, 1, 0, 0, 0});
    EXPECT_EQ(Document.MapName, "");
    EXPECT_EQ(Document.PlayerCount, 1);  // the bytes after a negative length are the next value
    Load("Kaputt", Bytes{0x04, 0x00, 'a', 'b'});
    EXPECT_EQ(Document.MapName, "ab  ");  // bytes the file lacks stay blanks
    Load("Kaputt", Bytes{0x04, 0x00, 'a', 0, 'b', 'c'});
    EXPECT_EQ(Document.MapName, "a");  // a runtime string ends at a zero byte
}

TEST_F(MapFileTest, TheReadTellsWhetherTheFileHoldsWhatItsHeaderPromises) {
    const Bytes full = MapBytes("Karte", {2, 8, 4, 64, 64, 2, 0}, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    Bytes longer = full;
    longer.push_back(0);
    struct Case {
        const char* what;
        Bytes bytes;
        std::int64_t headerSize;
        bool shorter, longer;
        std::int32_t nameLength;
    };
    const Case cases[] = {
        {"exact", full, 71, false, false, 5},
        {"cut inside the last value", Bytes(full.begin(), full.end() - 1), 71, true, false, 5},
        {"cut inside the players", Bytes(full.begin(), full.begin() + 45), 71, true, false, 5},
        {"one byte more", longer, 71, false, true, 5},
        {"negative name length", Bytes{0xFE, 0xFF, 0, 0, 0, 0}, 34, true, false, -2},
        {"huge grid", MapBytes("", {INT_MAX, 0, 0, 1, 1, INT_MAX, INT_MAX}), INT64_MAX, true, false, 0},
        {"negative bounds, no players", MapBytes("ab", {-1, 0, 0, 1, 1, 5, -1}), 32, false, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteBytes("Karte.MAP", c.bytes);
        const editor::MapFileRead read = editor::ReadMapFileAt("Karte.MAP");
        EXPECT_TRUE(read.opened);
        EXPECT_EQ(read.headerSize, c.headerSize);
        EXPECT_EQ(read.shorter, c.shorter);
        EXPECT_EQ(read.longer, c.longer);
        EXPECT_EQ(read.nameLength, c.nameLength);
    }
    const editor::MapFileRead missing = editor::ReadMapFileAt("Fehlt.MAP");
    EXPECT_FALSE(missing.opened);
    EXPECT_FALSE(missing.shorter || missing.longer);
}

TEST_F(MapFileTest, AnyPathCanBeWrittenAndReadAndTheTargetIsReplacedWhole) {
    std::filesystem::create_directories("sub/ordner");
    Document.MapName = runtime::Cp1252("Über");
    ASSERT_EQ(editor::WriteMapFileAt("sub\\ordner\\Weit.MAP"), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("sub/ordner"), {}), 1);
    editor::ResetDocument();
    EXPECT_TRUE(editor::ReadMapFileAt("sub/ordner/Weit.MAP").opened);
    EXPECT_EQ(Document.MapName, runtime::Cp1252("Über"));
    EXPECT_EQ(editor::WriteMapFileAt("fehlt/Weit.MAP"), 0);  // no such folder
    EXPECT_FALSE(std::filesystem::exists("fehlt"));
}

TEST_F(MapFileTest, SavingCreatesTheFolderAndAFailedSaveKeepsThePreviousFile) {
    ASSERT_FALSE(std::filesystem::exists("Karten"));
    ASSERT_EQ(editor::WriteMapFile(), 1);
    const Bytes previous = ReadBytes("Karten/NONAME.MAP");

    if (!testing_support::ReadOnlyFoldersTakeNewFiles()) {
        Document.MapName = "Anders";
        std::filesystem::permissions(
            "Karten", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        EXPECT_EQ(editor::WriteMapFile(), 0);
        std::filesystem::permissions("Karten", std::filesystem::perms::owner_all);
        EXPECT_EQ(ReadBytes("Karten/NONAME.MAP"), previous);
    }

    // "Karten" is a file: nothing can be saved, and the call says so.
    std::filesystem::remove_all("Karten");
    WriteBytes("Karten", {1, 2, 3});
    EXPECT_EQ(editor::WriteMapFile(), 0);
    EXPECT_EQ(ReadBytes("Karten"), (Bytes{1, 2, 3}));
}

TEST_F(MapFileTest, AMapCopiedWithOtherCaseIsFoundAndOverwrittenInPlace) {
    std::filesystem::create_directory("karten");
    Document.MapName = "klein";
    Document.FileName = "wald";
    ASSERT_EQ(editor::WriteMapFile(), 1);  // goes into "karten"
    EXPECT_TRUE(std::filesystem::exists("karten/wald.MAP"));
    EXPECT_EQ(std::filesystem::directory_iterator(".")->path().filename(), "karten");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("."), {}), 1);
    std::filesystem::rename("karten/wald.MAP", "karten/wald.map");
    Document.FileName = "Wald";
    ASSERT_EQ(editor::ReadMapFile(), 1);
    EXPECT_EQ(Document.MapName, "klein");
    Document.MapName = "gross";
    ASSERT_EQ(editor::WriteMapFile(), 1);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator("karten"), {}), 1);
    EXPECT_EQ(ReadBytes("karten/wald.map")[2], 'g');
}

// A hidden save file of an editor that is gone is removed only once ten minutes old: an editor
// on another machine that shares the folder may still be writing a younger one.
TEST_F(MapFileTest, AbandonedSavesAreRemovedOnlyOnceTenMinutesOld) {
    const std::string child = testing_support::EndedProcessId();
    ASSERT_FALSE(child.empty());
    struct Case {
        int ageSeconds;
        bool removed;
    };
    const Case cases[] = {{0, false}, {5 * 60, false}, {9 * 60 + 50, false},
                          {11 * 60, true}, {24 * 3600, true}};
    std::filesystem::create_directory("Karten");
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const Case& c : cases) {
        const std::string name = "Karten/.~mapeditor-" + child + "-" +
                                 std::to_string(c.ageSeconds) + "-0a1b2c3d.tmp";
        WriteBytes(name, Bytes{1});
        std::filesystem::last_write_time(name, now - std::chrono::seconds(c.ageSeconds));
    }
    EXPECT_EQ(editor::RemoveAbandonedSaves("Karten"), 2);
    for (const Case& c : cases) {
        EXPECT_EQ(std::filesystem::exists("Karten/.~mapeditor-" + child + "-" +
                                          std::to_string(c.ageSeconds) + "-0a1b2c3d.tmp"),
                  !c.removed)
            << c.ageSeconds << " s";
    }
}

TEST(MapNameTest, OnlyAFinalMapExtensionInAnyCaseIsTakenOff) {
    const std::pair<const char*, std::optional<std::string>> cases[] = {
        {"Wald.MAP", "Wald"},
        {"wald.map", "wald"},
        {"Karten\\Wald.mAp", "Karten\\Wald"},
        {".MAP", ""},
        {"Wald.MAP.sicherung", std::nullopt},
        {"Wald.PNG", std::nullopt},
        {"WaldMAP", std::nullopt},
        {"MAP", std::nullopt},
    };
    for (const auto& [name, base] : cases) {
        EXPECT_EQ(editor::WithoutMapExtension(name), base) << name;
    }
}

}  // namespace
