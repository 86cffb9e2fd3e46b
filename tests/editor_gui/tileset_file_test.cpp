// The tile set follows its image file on disk: a wider picture written over it (a new file
// renamed over the old, as many programs save) shows in the view, with the brush's range
// following; a damaged one leaves the tile set and says so; a later good write is taken. The
// fields and the history never change.
#include <filesystem>
#include <vector>

#include "EditorFixture.h"
#include "editor/History.h"
#include "editor/TileSet.h"
#include "runtime/Timer.h"

namespace editor_testing {
namespace {

namespace fs = std::filesystem;

// Tile t of picture `version`: one colour.
std::uint32_t Colour(int version, int tile) {
    return (0x3A2917u * static_cast<std::uint32_t>(version) +
            0x10305u * static_cast<std::uint32_t>(tile + 1)) &
           0xFFFFFF;
}

std::vector<std::uint8_t> Png(int version, int tiles) {
    return testing_support::PngBytes(testing_support::Picture::Of(
        16 * tiles, 32, [version](int x, int) { return Colour(version, x / 16); }));
}

class TileSetFileTest : public EditorTest {
protected:
    // Runs passes as the main loop does, the due reads included, until `done` or 3 s.
    bool Within3s(const std::function<bool()>& done) {
        const std::int64_t deadline = runtime::ElapsedMilliseconds() + 3000;
        while (!done()) {
            if (runtime::ElapsedMilliseconds() > deadline) return false;
            ts::ProcessEventsFor(20);
            Drain();
            if (editor::TileSetReloadWaitMs(runtime::ElapsedMilliseconds()) == 0) {
                editor::EditorPass(editor::NextEvent());
            }
        }
        return true;
    }
    // The view's pixel inside field (x, y) of the map as opened (16-pixel fields from (58, 58)).
    static std::uint32_t FieldPixel(int x, int y) {
        return Pixel(58 + 16 * x + 8, 58 + 16 * y + 8);
    }
};

TEST_F(TileSetFileTest, AWiderADamagedAndAGoodPictureOnDisk) {
    OpenGeneratedMap("Folgt", 16, 16, 9, 9, 4 * 16, [](int x, int) { return Colour(1, x / 16); });
    const std::string png = "Karten/Folgt.PNG";
    gui::GadgetSetState(editor::kBrushBar, 3);
    ClickAt(InView(58 + 16 * 2 + 8, 58 + 8));  // field (2, 0): tile 3, a step in the history
    ASSERT_EQ(Document.Fields(2, 0), 3);
    const std::uint32_t version = editor::TileSets.Version;
    const std::string title = Title();

    struct Step {
        const char* what;
        std::vector<std::uint8_t> bytes;
        bool renamedOver;
        int shownVersion;  // the picture the tile set shows after it
        int tiles;
        const char* status;
    };
    const std::vector<std::uint8_t> good = Png(3, 6);
    const std::vector<std::uint8_t> half(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
    for (const Step& step :
         {Step{"wider, renamed over", Png(2, 40), true, 2, 40, "Kachelsatz neu geladen: Folgt.PNG"},
          Step{"damaged, in place", half, false, 2, 40,
               "Kachelsatz nicht lesbar, der bisherige bleibt: Folgt.PNG"},
          Step{"good, in place", good, false, 3, 6, "Kachelsatz neu geladen: Folgt.PNG"}}) {
        SCOPED_TRACE(step.what);
        editor::ShowStatus("");
        if (step.renamedOver) {
            testing_support::WriteBytes("Karten/neu.tmp", step.bytes);
            fs::rename("Karten/neu.tmp", png);
        } else {
            testing_support::WriteBytes(png, step.bytes);
        }
        ASSERT_TRUE(Within3s([&] { return StatusMessage() == runtime::Cp1252(step.status); }));
        EXPECT_EQ(Document.TileSetWidth, 16 * step.tiles);
        EXPECT_EQ(FieldPixel(2, 0), Colour(step.shownVersion, 3));
        EXPECT_EQ(FieldPixel(5, 5), Colour(step.shownVersion, 0));
        EXPECT_EQ(editor::Painting.BrushMaximum, std::max(31, step.tiles - 1));
        EXPECT_EQ(Document.Fields(2, 0), 3);  // the map stays
        EXPECT_EQ(Title(), title);            // and is not changed by it
    }
    EXPECT_GT(editor::TileSets.Version, version);
    // The history is the one before: one undo takes the painted field back, the tile set stays.
    Menu("Bearbeiten", "Rückgängig");
    Drain();
    EXPECT_EQ(Document.Fields(2, 0), 0);
    EXPECT_EQ(Document.TileSetWidth, 16 * 6);
    EXPECT_EQ(FieldPixel(5, 5), Colour(3, 0));
}

}  // namespace
}  // namespace editor_testing
