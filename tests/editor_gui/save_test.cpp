// Naming a map, choosing its tile set and saving it soundly, in the running editor: "Speichern
// unter..." with its tile set travelling along, "Kachelsatz laden...", read-only maps and
// kept permissions.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "EditorFixture.h"
#include "editor/History.h"
#include "editor/MapFile.h"

namespace {

using editor::Document;
using editor_testing::EditorTest;
namespace ts = testing_support;
namespace fs = std::filesystem;

class SaveTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        fs::copy(MAPEDITOR_SAMPLES_DIR "/Karten", "Karten");
        wald = ts::ReadBytes("Karten/Wald.MAP");
        waldPng = ts::ReadBytes("Karten/Wald.PNG");
        // Another tile set: 32 x 32 pixels of colour (both samples share one tile set).
        fs::copy_file(PNGSUITE_DIR "/basn2c08.png", "bunt.PNG");
        otherPng = ts::ReadBytes("bunt.PNG");
    }
    void OpenWald() {
        Document.FileName = "Wald";
        editor::LoadMap();
        Drain();
    }
    void SaveAs(const std::string& path) {
        ChooseFiles({path});
        Menu("Datei", "Speichern unter...");
        Drain();
    }
    void LoadTileSet(const std::string& path) {
        ChooseFiles({path});
        Menu("Datei", "Kachelsatz laden...");
        Drain();
    }
    // The names in a folder, hidden ones too.
    static std::vector<std::string> Files(const char* folder) {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::vector<std::uint8_t> wald, waldPng, otherPng;
};

TEST_F(SaveTest, SaveAsWritesTheMapAndItsTileSetUnderTheNewName) {
    OpenWald();
    PaintField(0, 0, 2);
    SaveAs(InHere("Karten/Wiese"));  // typed without extension
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].save);
    EXPECT_EQ(dialogs[0].title, "Karte speichern unter");
    EXPECT_EQ(fs::path(dialogs[0].directory), fs::path(InHere("Karten")));  // either separator
    EXPECT_EQ(dialogs[0].fileName, "Wald.MAP");
    EXPECT_EQ(dialogs[0].filterLabels, std::vector<std::string>{"Karten (*.MAP)"});

    EXPECT_EQ(Document.FileName, "Wiese");
    EXPECT_EQ(Title(), "Veldrane Murmelwald Karteneditor 1.0 <Wiese>");
    EXPECT_EQ(StatusMessage(), "Gespeichert: Karten\\Wiese.MAP");
    EXPECT_EQ(ts::ReadBytes("Karten/Wiese.PNG"), waldPng);
    const auto wiese = ts::ReadBytes("Karten/Wiese.MAP");
    EXPECT_EQ(wiese.size(), wald.size());
    EXPECT_NE(wiese, wald);
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.MAP"), wald);  // the old map stays as it was
    // The new name is the map's from now on: Speichern writes there.
    PaintField(1, 0, 3);
    Menu("Datei", "Speichern");
    Drain();
    EXPECT_NE(ts::ReadBytes("Karten/Wiese.MAP"), wiese);
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.MAP"), wald);
}

TEST_F(SaveTest, SaveAsOverAnExistingMapAsksFirst) {
    ts::WriteBytes("Karten/Insel.PNG", otherPng);
    OpenWald();
    // Not replaced: the requester comes back, and cancelling it leaves everything.
    Answer({1});
    ChooseFiles({InHere("Karten/Insel.MAP"), ""});
    Menu("Datei", "Speichern unter...");
    Drain();
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Die Datei Insel.MAP gibt es schon. Soll sie ersetzt werden?");
    EXPECT_EQ(questions[0].buttons, (std::vector<std::string>{"Ersetzen", "Abbrechen"}));
    EXPECT_EQ(questions[0].defaultButton, 1);
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].fileName, "Insel.MAP");
    EXPECT_EQ(Document.FileName, "Wald");
    EXPECT_EQ(ts::ReadBytes("Karten/Insel.PNG"), otherPng);

    Answer({0});
    SaveAs(InHere("Karten/Insel.MAP"));
    EXPECT_EQ(Document.FileName, "Insel");
    EXPECT_EQ(ts::ReadBytes("Karten/Insel.MAP"), wald);
    EXPECT_EQ(ts::ReadBytes("Karten/Insel.PNG"), waldPng);
}

TEST_F(SaveTest, AMapSavedFromAnotherFolderGoesToKartenAndSaysSo) {
    OpenWald();
    fs::create_directory("anderswo");
    SaveAs(InHere("anderswo/Neu.MAP"));
    EXPECT_EQ(ts::ReadBytes("Karten/Neu.MAP"), wald);
    EXPECT_FALSE(fs::exists("anderswo/Neu.MAP"));
    EXPECT_EQ(StatusMessage(),
              runtime::Cp1252("Gespeichert: Karten\\Neu.MAP, nicht im gewählten Ordner"));

    // A map of that name in "Karten", which the requester did not show, is asked about too.
    Answer({1});
    SaveAs(InHere("anderswo/Insel.MAP"));
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0].text, "Karten\\Insel.MAP gibt es schon. Ersetzen?");
    EXPECT_EQ(Document.FileName, "Neu");
    EXPECT_NE(ts::ReadBytes("Karten/Insel.MAP"), wald);
}

TEST_F(SaveTest, ANewMapWithItsBlackTileSetSavesNoImage) {
    PaintField(2, 2, 1);
    SaveAs(InHere("Karten/Leer.MAP"));
    EXPECT_EQ(fs::file_size("Karten/Leer.MAP"), 196u);
    EXPECT_FALSE(fs::exists("Karten/Leer.PNG"));
    EXPECT_FALSE(editor::HistoryChanged());
}

TEST_F(SaveTest, LoadingATileSetShowsItAtOnceAndTheNextSaveWritesIt) {
    OpenWald();
    ts::WriteBytes("kaputt.PNG",
                   std::vector<std::uint8_t>(otherPng.begin(), otherPng.begin() + 60));
    ts::WriteBytes("text.PNG", {'k', 'e', 'i', 'n', ' ', 'B', 'i', 'l', 'd'});
    MoveTo({700, 540});
    const std::uint32_t before = Pixel(100, 100);

    struct Case {
        const char* what;
        std::string file;
        const char* status;
    };
    const Case failing[] = {
        {"cancelled", "", ""},
        {"a PNG cut short", InHere("kaputt.PNG"), "Kein lesbares Bild: kaputt.PNG"},
        {"not an image", InHere("text.PNG"), "Kein lesbares Bild: text.PNG"},
    };
    for (const Case& c : failing) {
        SCOPED_TRACE(c.what);
        editor::ShowStatus("");
        LoadTileSet(c.file);
        ASSERT_EQ(dialogs.size(), 1u);
        EXPECT_EQ(dialogs[0].title, "Kachelsatz laden");
        EXPECT_EQ(dialogs[0].filterLabels,
                  std::vector<std::string>{runtime::Cp1252("Kachelsätze (*.PNG)")});
        EXPECT_EQ(StatusMessage(), c.status);
        EXPECT_EQ(Document.TileSetWidth, 512);
        EXPECT_FALSE(editor::HistoryChanged());
        MoveTo({700, 539 - static_cast<int>(&c - failing)});
        EXPECT_EQ(Pixel(100, 100), before);
    }

    LoadTileSet(InHere("bunt.PNG"));
    EXPECT_EQ(StatusMessage(), "");
    EXPECT_TRUE(editor::HistoryChanged());
    EXPECT_EQ(*Document.TileSet.Image, otherPng);
    EXPECT_EQ(Document.TileSetWidth, 32);
    MoveTo({700, 540});
    EXPECT_NE(Pixel(100, 100), before);  // the other picture, on screen at once
    editor::SaveMap();
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.PNG"), otherPng);
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.MAP"), wald);

    // Undone, the old tile set is back on screen; saving puts its image back too.
    ts::Key(0, 'Z', ts::kControl);
    MoveTo({700, 539});
    EXPECT_EQ(Pixel(100, 100), before);
    EXPECT_EQ(Document.TileSetWidth, 512);
    editor::SaveMap();
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.PNG"), waldPng);
}

TEST_F(SaveTest, AReadOnlyMapIsNotReplacedAndAWritableOneKeepsItsPermissions) {
    ts::WriteBytes("Karten/NONAME.MAP.tmp", {'m', 'e', 'i', 'n'});  // a user's own file
    editor::SaveMap();
    const auto saved = ts::ReadBytes("Karten/NONAME.MAP");
    for (const fs::perms mode : {fs::perms(0640), fs::perms(0604), fs::perms(0600)}) {
        fs::permissions("Karten/NONAME.MAP", mode);
        // On Windows a file is writable or read-only, and these modes are all writable.
        const fs::perms kept = fs::status("Karten/NONAME.MAP").permissions();
        PaintField(3, 3, 1 + static_cast<int>(mode) % 5);
        editor::SaveMap();
        EXPECT_EQ(fs::status("Karten/NONAME.MAP").permissions(), kept);
        EXPECT_FALSE(editor::HistoryChanged());
    }
    for (const fs::perms mode : {fs::perms(0444), fs::perms(0400)}) {
        fs::permissions("Karten/NONAME.MAP", mode);
        const auto before = ts::ReadBytes("Karten/NONAME.MAP");
        PaintField(4, 4, 1 + static_cast<int>(mode) % 5);
        Menu("Datei", "Speichern");
        Drain();
        EXPECT_EQ(StatusMessage(), "Karte konnte nicht gespeichert werden: Karten\\NONAME.MAP");
        EXPECT_EQ(ts::ReadBytes("Karten/NONAME.MAP"), before);
        EXPECT_TRUE(editor::HistoryChanged());
    }
    EXPECT_NE(saved, ts::ReadBytes("Karten/NONAME.MAP"));
    // Nothing is left beside the map, and the user's file was never touched.
    EXPECT_EQ(Files("Karten"),
              (std::vector<std::string>{"Archipel.MAP", "Archipel.PNG", "Insel.MAP", "Insel.PNG",
                                        "NONAME.MAP", "NONAME.MAP.tmp", "Wald.MAP", "Wald.PNG"}));
    EXPECT_EQ(ts::ReadBytes("Karten/NONAME.MAP.tmp"),
              (std::vector<std::uint8_t>{'m', 'e', 'i', 'n'}));
}

TEST_F(SaveTest, AReadOnlyTileSetStopsTheWholeSave) {
    OpenWald();
    LoadTileSet(InHere("bunt.PNG"));
    fs::permissions("Karten/Wald.PNG", fs::perms(0444));
    PaintField(0, 0, 3);
    editor::SaveMap();
    EXPECT_EQ(StatusMessage(), "Karte konnte nicht gespeichert werden: Karten\\Wald.MAP");
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.MAP"), wald);
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.PNG"), waldPng);
}

}  // namespace
