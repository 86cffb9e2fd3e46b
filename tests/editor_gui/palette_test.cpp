// The tile palette: a second window that shows the tiles, chooses the brush with a click,
// scrolls, follows a new tile set, closes alone, and whose input never reaches the map view.
#include "EditorFixture.h"
#include "editor/TilePalette.h"
#include "support/TestWindow.h"

namespace editor_testing {
namespace {

class PaletteTest : public EditorTest {
protected:
    void OpenPaletteFromTheMenu() {
        ASSERT_TRUE(ts::ChooseMenuItem(0, "Ansicht", "Kachelpalette"));
        Drain();
        ASSERT_EQ(editor::Palette.Open, 1);
        ASSERT_TRUE(ts::WaitForWindow(editor::kPaletteWindow));
        Drain();
    }
    // A click on a point of the palette's client area.
    void ClickPalette(ts::Point client) {
        ts::CursorTo(editor::kPaletteWindow, client);
        ts::Click(editor::kPaletteWindow, client);
        Drain();
    }
    // What the palette window shows at a point of its client area, as 0x00RRGGBB.
    static std::uint32_t PalettePixel(ts::Point client) {
        return ts::GrabClient(gui::WindowHandleOf(editor::kPaletteWindow)).At(client.x(), client.y());
    }
};

// Tile t of the generated sets is filled with one colour of its own.
std::uint32_t TileColour(int tile) {
    return 0x102030u * static_cast<std::uint32_t>(tile + 1) & 0xFFFFFF;
}

TEST_F(PaletteTest, AClickOnATileMakesItTheBrushAndFramesIt) {
    OpenGeneratedMap("Acht", 64, 64, 9, 9, 8 * 64, [](int x, int) { return TileColour(x / 64); });
    OpenPaletteFromTheMenu();
    // Cells of 72 x 88 (tile, border, number), three to a row: tile 4 is row 1, column 1.
    const ts::Point tile4(72 + 4 + 32, 88 + 4 + 32);
    EXPECT_EQ(PalettePixel(tile4), TileColour(4));
    ClickPalette(tile4);
    EXPECT_EQ(gui::GadgetGetState(editor::kBrushBar), 4);
    EXPECT_EQ(gui::GadgetGetText(editor::kBrushText), "Aktueller Pinsel: 4");
    EXPECT_EQ(PalettePixel({72, 88 + 40}), kRedPixel);  // the brush's cell is framed
    EXPECT_NE(PalettePixel({0, 40}), kRedPixel);        // tile 0's is not any more
    ClickPalette({200, 500});                           // below the last tile: nothing
    EXPECT_EQ(gui::GadgetGetState(editor::kBrushBar), 4);
}

TEST_F(PaletteTest, ItFollowsANewTileSetAndScrollsALargeOne) {
    OpenPaletteFromTheMenu();
    EXPECT_EQ(PalettePixel({10, 10}), kBlackPixel);  // the new map's one black tile
    // 200 tiles of 16 x 16: cells of 24 x 40, nine to a row, 23 rows of which 14 show.
    OpenGeneratedMap("Viele", 16, 16, 9, 9, 200 * 16,
                     [](int x, int) { return TileColour(x / 16); });
    EXPECT_EQ(PalettePixel({4 + 8, 4 + 8}), TileColour(0));
    ts::CursorTo(editor::kPaletteWindow, {100, 100});
    ts::Wheel(editor::kPaletteWindow, {100, 100}, -3 * 120);  // three rows down
    Drain();
    EXPECT_EQ(PalettePixel({4 + 8, 4 + 8}), TileColour(27));
    ClickPalette({24 + 4 + 8, 4 + 8});
    EXPECT_EQ(gui::GadgetGetState(editor::kBrushBar), 28);
    ts::Wheel(editor::kPaletteWindow, {100, 100}, -100 * 120);  // held at the last rows
    Drain();
    EXPECT_EQ(editor::Palette.FirstRow, 23 - 14);
    EXPECT_EQ(editor::PaletteTileAt(4, 13 * 40 + 4), 198);
}

// Strg + click gathers the random brush's tiles, marked dark and light inside the cell, without
// touching the brush; a plain click makes a tile the brush and ends the set.
TEST_F(PaletteTest, StrgClickGathersTheRandomBrushAndAPlainClickEndsIt) {
    OpenGeneratedMap("Acht", 64, 64, 9, 9, 8 * 64, [](int x, int) { return TileColour(x / 64); });
    OpenPaletteFromTheMenu();
    const auto cell = [](int tile) { return ts::Point(tile % 3 * 72, tile / 3 * 88); };
    const auto click = [&](int tile, ts::Modifiers keys) {
        const ts::Point at = cell(tile) + ts::Point(36, 36);
        ts::CursorTo(editor::kPaletteWindow, at);
        ts::Click(editor::kPaletteWindow, at, ts::Button::Left, keys);
        Drain();
    };
    const auto marked = [&](int tile) {
        return PalettePixel(cell(tile) + ts::Point(2, 2)) == kBlackPixel &&
               PalettePixel(cell(tile) + ts::Point(6, 2)) == 0xFFFFFFu &&
               PalettePixel(cell(tile) + ts::Point(2, 6)) == 0xFFFFFFu;
    };
    for (const int tile : {1, 2, 4, 6}) click(tile, ts::kControl);
    EXPECT_EQ(StatusMessage(3), "Zufall: 4 Kacheln");
    EXPECT_EQ(gui::GadgetGetState(editor::kBrushBar), 0);
    EXPECT_TRUE(marked(1));
    EXPECT_TRUE(marked(6));
    EXPECT_FALSE(marked(3));
    EXPECT_EQ(PalettePixel(cell(3) + ts::Point(2, 2)), kGrey);
    click(6, ts::kControl);  // out again
    EXPECT_EQ(StatusMessage(3), "Zufall: 3 Kacheln");
    EXPECT_FALSE(marked(6));
    click(5, {});
    EXPECT_EQ(gui::GadgetGetState(editor::kBrushBar), 5);
    EXPECT_EQ(StatusMessage(3), "");
    EXPECT_FALSE(marked(1));
}

TEST_F(PaletteTest, ItsInputNeverReachesTheMapViewAndClosingItClosesOnlyThePalette) {
    OpenPaletteFromTheMenu();
    gui::GadgetSetState(editor::kBrushBar, 0);
    const auto allFive = [] {
        bool five = true;
        for (int x = 0; x <= 5; ++x) {
            for (int y = 0; y <= 5; ++y) five = five && Document.Fields(x, y) == 5;
        }
        return five;
    };
    for (int x = 0; x <= 5; ++x) {
        for (int y = 0; y <= 5; ++y) Document.Fields(x, y) = 5;
    }
    // The palette lies over the map view: its clicks and its scroll bar are its own.
    ts::MoveWindowOver(editor::kPaletteWindow, 0, {20, 20});
    ts::ProcessEventsFor(50);
    Drain();
    ClickPalette({10, 10});
    EXPECT_TRUE(allFive());
    MoveTo(InView(300, 300));  // the last event was the main window's
    const ts::Point bar = ts::GadgetCentre(editor::kPaletteScrollBar);
    ts::CursorTo(editor::kPaletteWindow, bar);
    ASSERT_EQ(editor::MouseInView(), 1);  // over the map view as far as window 0 can tell
    ts::Click(editor::kPaletteWindow, bar);
    Drain();
    EXPECT_TRUE(allFive());

    ts::CloseBox(editor::kPaletteWindow);  // its close box
    EXPECT_NE(Drain(), gui::EVENT_CLOSE);
    EXPECT_EQ(editor::Palette.Open, 0);
    EXPECT_EQ(gui::WindowHandleOf(editor::kPaletteWindow), 0);
    OpenPaletteFromTheMenu();  // and it opens again
}

}  // namespace
}  // namespace editor_testing
