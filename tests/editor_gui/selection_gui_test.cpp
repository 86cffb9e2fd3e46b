// Composing maps as a user does: the "Auswahl" tool, copy, cut, paste, move and mirror through
// the menus, the keys and the mouse, at several scales.
#include <utility>
#include <vector>

#include "EditorFixture.h"
#include "editor/FieldClipboard.h"
#include "editor/History.h"
#include "editor/Selection.h"
#include "editor/ViewScale.h"
#include "gui/Clipboard.h"
#include "gui/Menu.h"

namespace editor_testing {
namespace {

using editor::FieldRect;
using editor::Selection;

class SelectionTest : public EditorTest {
protected:
    // A map of 30 x 20 fields of 24 x 40 pixels (not square); field (x, y) holds x + 100 y.
    void UseGrid(int zoomLevel = 0, int scrollX = 0, int scrollY = 0) {
        editor::EndSelection();
        editor::ResetDocument();
        Document.FieldWidth = 24;
        Document.FieldHeight = 40;
        Document.LastFieldX = 29;
        Document.LastFieldY = 19;
        for (int x = 0; x <= 29; ++x) {
            for (int y = 0; y <= 19; ++y) Document.Fields(x, y) = x + 100 * y;
        }
        editor::HistoryClear();
        editor::View.ScrollX = scrollX;
        editor::View.ScrollY = scrollY;
        editor::View.ZoomLevel = zoomLevel;
        gui::GadgetSetState(editor::kBrushBar, 7);
        Menu("Werkzeuge", "Auswahl");
        Drain();
    }
    // The client point over the centre of field (x, y) as the view shows it now.
    static ts::Point FieldPoint(int x, int y) {
        const std::int64_t mx = x * 24 + 12;
        const std::int64_t my = y * 40 + 20;
        return InView(static_cast<int>(editor::ViewFirst(mx, editor::View.ScrollX)),
                      static_cast<int>(editor::ViewFirst(my, editor::View.ScrollY)));
    }
    void Drag(ts::Point from, ts::Point to) {
        MoveTo(from);
        ts::Press(0, from);
        Drain();
        MoveTo((from + to) / 2);
        MoveTo(to);
        ts::Release(0, to);
        Drain();
    }
    void Keys(int key, ts::Modifiers modifiers = {}) {
        ts::Key(0, key, modifiers);
        Drain();
    }
    static std::vector<int> Row(int y, int from, int to) {
        std::vector<int> row;
        for (int x = from; x <= to; ++x) row.push_back(Document.Fields(x, y));
        return row;
    }
    static void ExpectSelected(const FieldRect& r) {
        EXPECT_EQ(Selection.Selected.Left, r.Left);
        EXPECT_EQ(Selection.Selected.Top, r.Top);
        EXPECT_EQ(Selection.Selected.Right, r.Right);
        EXPECT_EQ(Selection.Selected.Bottom, r.Bottom);
    }
};

TEST_F(SelectionTest, ADragSelectsTheFieldsFromPressToReleaseAtEveryScale) {
    struct Case {
        int level, scrollX, scrollY;
        ts::Point from, to;  // client points; fields given through FieldPoint below
        FieldRect expected;
    };
    UseGrid();
    const Case cases[] = {
        {0, 0, 0, FieldPoint(2, 3), FieldPoint(5, 4), {2, 3, 5, 4}},
        {0, 0, 0, FieldPoint(5, 4), FieldPoint(2, 1), {2, 1, 5, 4}},    // up and to the left
        {0, 0, 0, FieldPoint(3, 3), InView(499, 499), {3, 3, 20, 12}},  // the view's corner
        {-2, 0, 0, InView(12, 30), InView(499, 499), {2, 3, 29, 19}},   // 1:4, beyond the map
        {2, 24 * 28, 40 * 18, InView(10, 10), InView(120, 200), {28, 18, 29, 19}},  // 4:1, edge
        {0, -100, -100, InView(5, 5), InView(136, 160), {0, 0, 1, 1}},  // from beyond the map
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.level << " " << c.expected.Left);
        UseGrid(c.level, c.scrollX, c.scrollY);
        Drag(c.from, c.to);
        ExpectSelected(c.expected);
    }
    // A click outside the selection that stays in its field ends it.
    ClickAt(InView(300, 300));
    EXPECT_TRUE(Selection.Selected.Empty());
}

TEST_F(SelectionTest, CopyAndPastePlaceAsOftenAsClickedAndCutOffAtTheMapsEdge) {
    UseGrid();
    Drag(FieldPoint(1, 1), FieldPoint(3, 2));
    Keys('C', ts::kControl);
    EXPECT_EQ(gui::ClipboardText(),
              "101\t102\t103\r\n201\t202\t203\r\n");
    MoveTo(FieldPoint(10, 5));
    Keys('V', ts::kControl);
    EXPECT_EQ(Selection.Floats, editor::Floating::Paste);
    EXPECT_EQ(Row(5, 10, 12), (std::vector<int>{510, 511, 512}));  // floating, not written
    ClickAt(FieldPoint(10, 5));
    ClickAt(FieldPoint(20, 8));
    editor::View.ScrollX = 24 * 20;
    editor::View.ScrollY = 40 * 10;
    ClickAt(FieldPoint(28, 19));  // partly beyond the map
    EXPECT_EQ(Row(5, 10, 12), (std::vector<int>{101, 102, 103}));
    EXPECT_EQ(Row(9, 20, 22), (std::vector<int>{201, 202, 203}));
    EXPECT_EQ(Row(19, 28, 29), (std::vector<int>{101, 102}));
    Keys(gui::KEYCODE_ESCAPE);
    EXPECT_EQ(Selection.Floats, editor::Floating::None);
    ClickAt(FieldPoint(24, 12));  // no longer places anything
    EXPECT_EQ(Document.Fields(24, 12), 1224);
    // Each placing is one step.
    Keys('Z', ts::kControl);
    EXPECT_EQ(Row(19, 28, 29), (std::vector<int>{1928, 1929}));
    EXPECT_EQ(Row(9, 20, 22), (std::vector<int>{201, 202, 203}));

    // Into a smaller map with other fields: the fields travel with the clipboard.
    editor::ResetDocument();
    Document.FieldWidth = 24;
    Document.FieldHeight = 40;
    Document.LastFieldX = 1;
    Document.LastFieldY = 0;
    editor::View.ScrollX = 0;
    editor::View.ScrollY = 0;
    MoveTo(FieldPoint(1, 0));
    Keys('V', ts::kControl);
    ClickAt(FieldPoint(1, 0));
    EXPECT_EQ(Row(0, 0, 1), (std::vector<int>{0, 101}));
}

TEST_F(SelectionTest, CutAndDeleteGiveTheSelectedFieldsTheBrush) {
    for (const bool cut : {true, false}) {
        SCOPED_TRACE(cut);
        UseGrid();
        gui::ClipboardPut({}, {}, "vorher");
        Drag(FieldPoint(4, 2), FieldPoint(5, 2));
        Keys(cut ? 'X' : gui::KEYCODE_DELETE, cut ? ts::kControl : ts::kNoModifier);
        EXPECT_EQ(Row(2, 3, 6), (std::vector<int>{203, 7, 7, 206}));
        EXPECT_EQ(gui::ClipboardText(),
                  cut ? "204\t205\r\n" : "vorher");
        Keys('Z', ts::kControl);
        EXPECT_EQ(Row(2, 3, 6), (std::vector<int>{203, 204, 205, 206}));
    }
}

TEST_F(SelectionTest, AMoveByDragOrArrowsIsOneStepAndEscapePutsItBack) {
    struct Case {
        const char* how;
        std::vector<int> rowAfter;  // fields 1..5 of row 1
    };
    const Case cases[] = {
        {"drag+return", {101, 7, 7, 102, 103}},  // 2..3 moved two to the right
        {"drag+click", {101, 7, 7, 102, 103}},
        {"arrows+return", {101, 7, 102, 103, 105}},  // one to the right
        {"drag+escape", {101, 102, 103, 104, 105}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        UseGrid();
        Drag(FieldPoint(2, 1), FieldPoint(3, 1));
        const std::string how = c.how;
        if (how.starts_with("drag")) {
            Drag(FieldPoint(2, 1), FieldPoint(4, 1));
        } else {
            Keys(gui::KEYCODE_RIGHT);
        }
        EXPECT_EQ(Row(1, 1, 5), (std::vector<int>{101, 102, 103, 104, 105}));  // floating
        if (how.ends_with("return")) Keys(gui::KEYCODE_ENTER);
        if (how.ends_with("click")) ClickAt(FieldPoint(10, 10));
        if (how.ends_with("escape")) Keys(gui::KEYCODE_ESCAPE);
        EXPECT_EQ(Row(1, 1, 5), c.rowAfter);
        EXPECT_EQ(Document.PlayerCount >= 1 ? Document.Players(1).X : 0,
                  0);  // Return set no player
        if (how.ends_with("escape")) {
            EXPECT_FALSE(editor::HistoryCanUndo());
            continue;
        }
        Keys('Z', ts::kControl);
        EXPECT_EQ(Row(1, 1, 5), (std::vector<int>{101, 102, 103, 104, 105}));
        Keys('Y', ts::kControl);
        EXPECT_EQ(Row(1, 1, 5), c.rowAfter);
    }
}

// An undo in the middle of a move, and every other change of document, leave no half move.
TEST_F(SelectionTest, UndoWhileFieldsFloatPutsThemBackFirst) {
    UseGrid();
    Keys('1', ts::kControl);
    ClickAt(FieldPoint(0, 0));  // something to undo: the brush, 7
    Keys('2', ts::kControl);
    Drag(FieldPoint(5, 5), FieldPoint(6, 6));
    Keys(gui::KEYCODE_DOWN);
    EXPECT_TRUE(gui::MenuItemEnabled(editor::kMainMenu, editor::kItemUndo));
    Keys('Z', ts::kControl);  // takes the move back, and only that
    EXPECT_EQ(Selection.Floats, editor::Floating::None);
    EXPECT_EQ(Row(6, 5, 6), (std::vector<int>{605, 606}));
    EXPECT_EQ(Document.Fields(0, 0), 7);
    Keys('Z', ts::kControl);
    EXPECT_EQ(Document.Fields(0, 0), 0);
    // Neu puts moved fields down first, so the question about the changes knows them.
    Keys(gui::KEYCODE_DOWN);
    Answer({1});  // Verwerfen
    Menu("Datei", "Neu");
    Drain();
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_EQ(Selection.Floats, editor::Floating::None);
    EXPECT_TRUE(Selection.Selected.Empty());
}

TEST_F(SelectionTest, EscapeEndsWhatTheToolIsDoing) {
    struct Case {
        const char* state;
        bool selectedAfter;
    };
    for (const Case c : {Case{"selecting", false}, Case{"selected", false}, Case{"paste", true},
                         Case{"lifted", true}}) {
        SCOPED_TRACE(c.state);
        UseGrid();
        const std::string state = c.state;
        if (state == "selecting") {
            ts::Press(0, FieldPoint(1, 1));
            MoveTo(FieldPoint(3, 3));
        } else {
            Drag(FieldPoint(1, 1), FieldPoint(3, 3));
        }
        if (state == "paste") {
            Keys('C', ts::kControl);
            Keys('V', ts::kControl);
        }
        if (state == "lifted") Keys(gui::KEYCODE_LEFT);
        Keys(gui::KEYCODE_ESCAPE);
        if (state == "selecting") ts::Release(0, FieldPoint(3, 3));
        Drain();
        EXPECT_EQ(Selection.Floats, editor::Floating::None);
        EXPECT_EQ(!Selection.Selected.Empty(), c.selectedAfter);
        EXPECT_EQ(Row(1, 0, 4), (std::vector<int>{100, 101, 102, 103, 104}));
    }
}

// Text from elsewhere comes in as fields; what is no table of numbers changes nothing and says
// why in the status bar.
TEST_F(SelectionTest, ClipboardTextPastesAsFieldsAndBadTextIsRefused) {
    UseGrid();
    gui::ClipboardPut({}, {}, "1,2\n3,4\n");
    ClickAt(FieldPoint(5, 5));  // the map view takes the keys from the text field
    MoveTo(FieldPoint(0, 0));
    Keys('V', ts::kControl);
    ClickAt(FieldPoint(0, 0));
    EXPECT_EQ(Row(0, 0, 2), (std::vector<int>{1, 2, 2}));
    EXPECT_EQ(Row(1, 0, 2), (std::vector<int>{3, 4, 102}));
    Keys(gui::KEYCODE_ESCAPE);
    gui::ClipboardPut({}, {}, "1\t2\n3\n");
    Keys('V', ts::kControl);
    EXPECT_EQ(Selection.Floats, editor::Floating::None);
    EXPECT_EQ(StatusMessage(), "Die Zeilen der Zwischenablage sind verschieden lang");
    // The editor's own format wins over the text beside it.
    gui::ClipboardPut(editor::kFieldsFormat, editor::EncodeFields(editor::FieldBlock{1, 1, {42}}), "5");
    MoveTo(FieldPoint(9, 9));
    Keys('V', ts::kControl);
    ClickAt(FieldPoint(9, 9));
    EXPECT_EQ(Document.Fields(9, 9), 42);
}

// The tools are a choice of one in "Werkzeuge", the tool's name stands in the status bar, and
// the items that cannot act are greyed.
TEST_F(SelectionTest, TheMenusShowTheToolAndWhatCanAct) {
    EXPECT_TRUE(gui::MenuItemChecked(editor::kMainMenu, editor::kItemToolBrush));
    EXPECT_EQ(StatusMessage(editor::kToolField), "");
    EXPECT_FALSE(gui::MenuItemEnabled(editor::kMainMenu, editor::kItemCopy));
    UseGrid();
    EXPECT_TRUE(gui::MenuItemChecked(editor::kMainMenu, editor::kItemToolSelect));
    EXPECT_FALSE(gui::MenuItemChecked(editor::kMainMenu, editor::kItemToolBrush));
    EXPECT_EQ(StatusMessage(editor::kToolField), "Auswahl");
    Keys('A', ts::kControl);
    ExpectSelected({0, 0, 29, 19});
    EXPECT_TRUE(gui::MenuItemEnabled(editor::kMainMenu, editor::kItemCopy));
    EXPECT_TRUE(gui::MenuItemEnabled(editor::kMainMenu, editor::kItemMirrorVertical));
    // In a text field Strg+A is the field's: it selects the text, not the map.
    Keys(gui::KEYCODE_ESCAPE);
    TypeInto(editor::kMapNameField, "Wiese");
    EXPECT_EQ(Document.MapName, "Wiese");
    EXPECT_TRUE(Selection.Selected.Empty());
    Keys('1', ts::kControl);
    EXPECT_EQ(StatusMessage(editor::kToolField), "");
}

// The frame alternates dark and light so that it shows on any picture; floating fields are
// drawn where they will lie.
TEST_F(SelectionTest, TheViewShowsTheFrameAndTheFloatingFields) {
    // Four tiles of their own colours; field (x, y) holds tile (x + y) % 4, the brush tile 0.
    const std::uint32_t colours[] = {0xC00000, 0x00C000, 0x0000C0, 0xC0C000};
    OpenGeneratedMap("Bunt", 24, 40, 29, 19, 4 * 24, [&](int x, int) { return colours[x / 24]; });
    for (int x = 0; x <= 29; ++x) {
        for (int y = 0; y <= 19; ++y) Document.Fields(x, y) = (x + y) % 4;
    }
    editor::HistoryClear();
    editor::View.ScrollX = 0;
    editor::View.ScrollY = 0;
    gui::GadgetSetState(editor::kBrushBar, 0);
    Menu("Werkzeuge", "Auswahl");
    Drain();
    Drag(FieldPoint(1, 1), FieldPoint(2, 2));
    ExpectSelected({1, 1, 2, 2});
    EXPECT_EQ(Pixel(24, 40), 0u);         // dark from the corner on
    EXPECT_EQ(Pixel(28, 40), 0xFFFFFFu);  // then light
    EXPECT_EQ(Pixel(24 * 3 - 1, 40 + 4), 0xFFFFFFu);
    EXPECT_EQ(Pixel(54, 50), colours[3]);  // field (2, 1) as the map holds it
    Keys(gui::KEYCODE_RIGHT);
    // Lifted and one field to the right: field (1, 1)'s tile over (2, 1), the brush where it was,
    // while the map itself holds what it held.
    EXPECT_EQ(Pixel(54, 50), colours[2]);
    EXPECT_EQ(Pixel(30, 50), colours[0]);
    EXPECT_EQ(Document.Fields(2, 1), 3);
}

}  // namespace
}  // namespace editor_testing
