// The selection's work on the grid without windows: blocks, moves and mirrors through the
// history, and the clipboard's two forms of fields.
#include "editor/Selection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/FieldClipboard.h"
#include "editor/History.h"
#include "editor/MapDocument.h"

namespace {

using editor::Document;
using editor::FieldBlock;
using editor::FieldRect;

class SelectionDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor::ResetHistory();
        editor::ResetSelection();
        Document = editor::MapDocument{};
        editor::ResetDocument();
        Document.LastFieldX = 6;  // 7 x 5 fields
        Document.LastFieldY = 4;
        for (int x = 0; x <= 6; ++x) {
            for (int y = 0; y <= 4; ++y) Document.Fields(x, y) = 10 * x + y;
        }
        editor::HistoryClear();
    }
    void TearDown() override { editor::ResetHistory(); }

    // The map's fields row by row, as a picture of numbers.
    static std::vector<std::vector<int>> Rows() {
        std::vector<std::vector<int>> rows(5, std::vector<int>(7));
        for (int y = 0; y <= 4; ++y) {
            for (int x = 0; x <= 6; ++x) rows[y][x] = Document.Fields(x, y);
        }
        return rows;
    }
    static FieldBlock Block(int width, int height, std::vector<int> rowByRow) {
        FieldBlock block{width, height, std::vector<std::int32_t>(rowByRow.size())};
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) block.Tiles[x * height + y] = rowByRow[y * width + x];
        }
        return block;
    }
};

// A move of the selection: the brush where it was, the fields where they went, one undo step;
// parts beyond the map are cut off.
TEST_F(SelectionDocumentTest, AMovePutDownIsOneStepAndUndoesExactly) {
    struct Case {
        FieldRect selected;
        int toX, toY;
        FieldRect after;  // the selection once put down
    };
    const Case cases[] = {
        {{1, 1, 2, 2}, 2, 1, {2, 1, 3, 2}},    // one field right: overlapping
        {{0, 0, 6, 4}, 1, 0, {1, 0, 6, 4}},    // the whole map, the right column cut off
        {{4, 3, 6, 4}, -1, -1, {0, 0, 1, 0}},  // partly beyond the top-left corner
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.toX);
        SetUp();
        const auto before = Rows();
        editor::Select(c.selected);
        editor::Lift();
        editor::MoveFloatingTo(c.toX, c.toY);
        EXPECT_EQ(Rows(), before);  // nothing is written while the fields float
        editor::PutDown(99);
        auto expected = before;
        for (int x = c.selected.Left; x <= c.selected.Right; ++x) {
            for (int y = c.selected.Top; y <= c.selected.Bottom; ++y) expected[y][x] = 99;
        }
        for (int x = c.selected.Left; x <= c.selected.Right; ++x) {
            for (int y = c.selected.Top; y <= c.selected.Bottom; ++y) {
                const int nx = x - c.selected.Left + c.toX;
                const int ny = y - c.selected.Top + c.toY;
                if (nx >= 0 && ny >= 0 && nx <= 6 && ny <= 4) expected[ny][nx] = before[y][x];
            }
        }
        EXPECT_EQ(Rows(), expected);
        EXPECT_EQ(editor::Selection.Selected.Left, c.after.Left);
        EXPECT_EQ(editor::Selection.Selected.Bottom, c.after.Bottom);
        EXPECT_EQ(editor::HistoryStepCount(), 1);
        editor::HistoryUndo();
        EXPECT_EQ(Rows(), before);
        editor::HistoryRedo();
        EXPECT_EQ(Rows(), expected);
    }
}

TEST_F(SelectionDocumentTest, MirroringOddAndEvenSizes) {
    struct Case {
        FieldBlock block;
        bool horizontal;
        FieldBlock mirrored;
    };
    const Case cases[] = {
        {Block(3, 2, {1, 2, 3, 4, 5, 6}), true, Block(3, 2, {3, 2, 1, 6, 5, 4})},
        {Block(3, 2, {1, 2, 3, 4, 5, 6}), false, Block(3, 2, {4, 5, 6, 1, 2, 3})},
        {Block(2, 3, {1, 2, 3, 4, 5, 6}), false, Block(2, 3, {5, 6, 3, 4, 1, 2})},
        {Block(2, 3, {1, 2, 3, 4, 5, 6}), true, Block(2, 3, {2, 1, 4, 3, 6, 5})},
        {Block(1, 1, {7}), true, Block(1, 1, {7})},
    };
    for (const Case& c : cases) {
        const FieldBlock result = editor::Mirrored(c.block, c.horizontal);
        EXPECT_EQ(result.Tiles, c.mirrored.Tiles) << c.block.Width << " x " << c.block.Height;
    }
    // In the map: the selected fields' arrangement, as one step.
    editor::Select({1, 1, 3, 1});
    editor::MirrorFields(true);
    EXPECT_EQ(Rows()[1], (std::vector<int>{1, 31, 21, 11, 41, 51, 61}));
    EXPECT_EQ(editor::HistoryStepCount(), 1);
}

TEST_F(SelectionDocumentTest, TheClipboardFormsGoBothWays) {
    const FieldBlock block = Block(3, 2, {0, -5, 128, 0x7FFFFFFF, 158, 3});
    EXPECT_EQ(editor::FieldsAsText(block), "0\t-5\t128\r\n2147483647\t158\t3\r\n");
    const auto own = editor::DecodeFields(editor::EncodeFields(block));
    ASSERT_TRUE(own.has_value());
    EXPECT_EQ(own->Tiles, block.Tiles);
    std::string problem;
    const auto text = editor::ParseFieldText(editor::FieldsAsText(block), &problem);
    ASSERT_TRUE(text.has_value()) << problem;
    EXPECT_EQ(text->Tiles, block.Tiles);
    // Spaces, commas and a last line without its end.
    const auto loose = editor::ParseFieldText("1, 2  3\n4,5,6", &problem);
    ASSERT_TRUE(loose.has_value()) << problem;
    EXPECT_EQ(loose->Tiles, Block(3, 2, {1, 2, 3, 4, 5, 6}).Tiles);

    struct Bad {
        std::string text;
        std::string problem;
    };
    const Bad bad[] = {
        {"1\t2\n3\n", "Die Zeilen der Zwischenablage sind verschieden lang"},
        {"1\n\n2\n", "Die Zeilen der Zwischenablage sind verschieden lang"},
        {"1\tzwei\n", "Die Zwischenablage enth\xE4lt keine Kachelnummern: \"zwei\""},
        {"99999999999\n", "Die Zwischenablage enth\xE4lt keine Kachelnummern: \"99999999999\""},
        {"1.5\n", "Die Zwischenablage enth\xE4lt keine Kachelnummern: \"1.5\""},
        {"", "Die Zwischenablage enth\xE4lt keine Felder"},
        {" \r\n", "Die Zwischenablage enth\xE4lt keine Felder"},
        {std::string(1001 * 2, '1').replace(1, 1, "\t"),
         "Die Zwischenablage enth\xE4lt keine Kachelnummern: \"" + std::string(20, '1') + "\""},
    };
    for (const Bad& b : bad) {
        problem.clear();
        EXPECT_FALSE(editor::ParseFieldText(b.text, &problem).has_value()) << b.text;
        EXPECT_EQ(problem, b.problem) << b.text;
    }
    std::string wide;
    for (int i = 0; i < 1001; ++i) wide += "1\t";
    EXPECT_FALSE(editor::ParseFieldText(wide, &problem).has_value());
    EXPECT_EQ(problem, "Die Zwischenablage hat mehr als 1000 Felder in einer Richtung");
    // The own format refuses every size that does not add up.
    std::string bytes = editor::EncodeFields(block);
    for (const std::string& damaged :
         {bytes.substr(0, bytes.size() - 1), bytes + "x", std::string("KEF2") + bytes.substr(4),
          editor::EncodeFields(FieldBlock{0, 0, {}})}) {
        EXPECT_FALSE(editor::DecodeFields(damaged).has_value());
    }
}

}  // namespace
