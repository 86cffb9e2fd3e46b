// The recovery copy: written while the map has unsaved changes (also while the editor only
// waits), removed when they are saved or discarded, offered and restored at the next start.
#include "editor/Recovery.h"

#include <chrono>
#include <ctime>
#include <functional>
#include <memory>
#include <filesystem>
#include <string>

#include "EditorFixture.h"
#include "editor/History.h"
#include "editor/MainLoop.h"
#include "editor/MapFile.h"
#include "runtime/Timer.h"
#include "support/Processes.h"

namespace {

using editor::Document;
using editor::Recovery;
using editor_testing::EditorTest;
namespace ts = testing_support;
namespace fs = std::filesystem;

class RecoveryTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        fs::copy(MAPEDITOR_SAMPLES_DIR "/Karten", "Karten");
        fs::copy_file(PNGSUITE_DIR "/basn2c08.png", "bunt.PNG");  // another tile set
    }
    static void WriteCopyNow() { editor::WriteRecoveryCopy(runtime::ElapsedMilliseconds()); }
};

// This editor's copy of a map ("MAP") or of its tile set ("PNG"), as a path of the test.
std::string OwnCopy(const std::string& fileName, const std::string& part = "MAP") {
    std::string path = editor::RecoveryCopyPath(fileName);
    path.replace(path.find('\\'), 1, "/");
    path.replace(path.find(".MAP."), 5, "." + part + ".");
    return path;
}

// Gives a file a write time in local time.
void SetWrittenAt(const std::string& path, int year, int month, int day, int hour, int minute) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    const auto time = std::chrono::system_clock::from_time_t(std::mktime(&local));
    fs::last_write_time(path, fs::file_time_type::clock::from_sys(time));
}

TEST_F(RecoveryTest, ACopyFallsDueAfterAChangeAndGoesWhenNothingIsLeftToKeep) {
    MoveTo({700, 540});
    EXPECT_EQ(editor::RecoveryWaitMs(runtime::ElapsedMilliseconds()), -1);  // idle: no timer

    PaintField(1, 1, 3);
    const std::int64_t wait = editor::RecoveryWaitMs(runtime::ElapsedMilliseconds());
    EXPECT_GT(wait, 0);
    EXPECT_LE(wait, editor::kRecoveryDelayMs);
    EXPECT_EQ(editor::RecoveryWaitMs(runtime::ElapsedMilliseconds() + wait), 0);
    PaintField(2, 1, 3);  // further changes do not put it off
    EXPECT_LE(editor::RecoveryWaitMs(runtime::ElapsedMilliseconds()), wait);

    WriteCopyNow();
    const auto copy = ts::ReadBytes(OwnCopy("NONAME"));
    EXPECT_EQ(editor::RecoveryWaitMs(runtime::ElapsedMilliseconds()), -1);
    MoveTo({700, 539});  // a pass that changes nothing needs no new copy
    EXPECT_EQ(editor::RecoveryWaitMs(runtime::ElapsedMilliseconds()), -1);

    // Undone back to the new map: nothing to keep.
    ts::Key(0, 'Z', ts::kControl);
    Drain();
    EXPECT_TRUE(fs::exists(OwnCopy("NONAME")));
    ts::Key(0, 'Z', ts::kControl);
    Drain();
    EXPECT_FALSE(fs::exists(OwnCopy("NONAME")));

    // The copy holds what a save writes; saving removes it.
    ts::Key(0, 'Y', ts::kControl);
    ts::Key(0, 'Y', ts::kControl);
    Drain();
    WriteCopyNow();
    EXPECT_EQ(ts::ReadBytes(OwnCopy("NONAME")), copy);
    ts::Key(0, 'S', ts::kControl);
    Drain();
    EXPECT_EQ(ts::ReadBytes("Karten/NONAME.MAP"), copy);
    EXPECT_FALSE(fs::exists(OwnCopy("NONAME")));
}

TEST_F(RecoveryTest, DiscardingTheChangesRemovesTheCopyAndItsTileSet) {
    for (const bool newMap : {true, false}) {
        SCOPED_TRACE(newMap);
        Document.FileName = "Wald";
        editor::LoadMap();
        ChooseFiles({InHere("bunt.PNG")});
        Menu("Datei", "Kachelsatz laden...");
        Drain();
        WriteCopyNow();
        EXPECT_EQ(ts::ReadBytes(OwnCopy("Wald", "PNG")), ts::ReadBytes("bunt.PNG"));
        EXPECT_TRUE(fs::exists(OwnCopy("Wald")));
        Answer({1});  // Verwerfen
        if (newMap) {
            Menu("Datei", "Neu");
        } else {
            ChooseFiles({InHere("Karten/Insel.MAP")});
            Menu("Datei", "Öffnen...");
        }
        Drain();
        EXPECT_FALSE(fs::exists(OwnCopy("Wald")));
        EXPECT_FALSE(fs::exists(OwnCopy("Wald", "PNG")));
    }
}

// A copy written while the tile set needed writing takes the image along; once the tile set is
// undone to the saved one, the next copy leaves no image copy behind for the next start.
TEST_F(RecoveryTest, ANewCopyRemovesTheImageCopyThatIsNoLongerWanted) {
    Document.FileName = "Wald";
    editor::LoadMap();
    PaintField(1, 1, 3);
    ChooseFiles({InHere("bunt.PNG")});
    Menu("Datei", "Kachelsatz laden...");
    Drain();
    WriteCopyNow();
    ASSERT_TRUE(fs::exists(OwnCopy("Wald", "PNG")));
    ts::Key(0, 'Z', ts::kControl);  // the tile set is the saved one again
    Drain();
    WriteCopyNow();
    EXPECT_TRUE(fs::exists(OwnCopy("Wald")));  // the painted field still needs one
    EXPECT_FALSE(fs::exists(OwnCopy("Wald", "PNG")));
}

TEST_F(RecoveryTest, ACopyIsWrittenWhileTheEditorWaitsForInput) {
    Recovery.DelayMs = 50;
    PaintField(1, 1, 3);
    ASSERT_FALSE(fs::exists(OwnCopy("NONAME")));
    // Nothing happens for a while; then the user moves the mouse.
    ts::RunLater(300, [] { ts::MouseMove(0, {700, 300}); });
    const std::int32_t event = editor::NextEvent();
    EXPECT_EQ(event, gui::EVENT_MOUSE_MOVE);
    EXPECT_TRUE(fs::exists(OwnCopy("NONAME")));
}

// Copies of editors that are gone, and of an older editor, are offered newest first with the
// time they were written; a running editor's copy is neither offered nor touched.
TEST_F(RecoveryTest, TheStartOffersTheCopiesOfGoneEditorsNewestFirstAndRestoresTheChosenOne) {
    const std::string goneEditor = ts::EndedProcessId() + "-0a1b2c3d";
    const std::string gone = "Karten/Wald.MAP." + goneEditor + ".sicherung";
    const std::string goneImage = "Karten/Wald.PNG." + goneEditor + ".sicherung";
    ts::OtherProcess other;  // an editor that still runs
    const std::string running = "Karten/Insel.MAP." + other.Id() + "-89abcdef.sicherung";
    Document.FileName = "Wald";
    editor::LoadMap();
    editor::SetMapName("Wald nach dem Absturz");
    editor::SetField(3, 3, 7);
    editor::WriteMapFileTo(gone);
    const auto waldCopy = ts::ReadBytes(gone);
    fs::copy_file("bunt.PNG", goneImage);
    fs::copy_file("Karten/Insel.MAP", "Karten/Insel.MAP.sicherung");  // an older editor's
    fs::copy_file("Karten/Insel.MAP", running);
    SetWrittenAt(gone, 2026, 3, 5, 7, 9);
    SetWrittenAt("Karten/Insel.MAP.sicherung", 2026, 11, 30, 23, 59);
    SetWrittenAt(running, 2026, 12, 1, 12, 0);
    editor::NewMap();
    editor::ResetRecovery();

    Answer({1, 0});  // Insel, the newer, comes first: Verwerfen; then Wald: Wiederherstellen
    editor::OfferRecoveryCopies();
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].text,
              runtime::Cp1252("Von der Karte Insel gibt es eine Sicherungskopie vom 30.11.2026, "
                              "23:59 Uhr mit Änderungen, die nicht gespeichert wurden. "
                              "Wiederherstellen?"));
    EXPECT_NE(questions[1].text.find("Karte Wald gibt es eine Sicherungskopie vom 05.03.2026, "
                                     "07:09 Uhr mit "),
              std::string::npos);
    EXPECT_EQ(questions[1].buttons, (std::vector<std::string>{"Wiederherstellen", "Verwerfen"}));
    EXPECT_EQ(questions[1].escapeButton, -1);  // only a button answers it
    EXPECT_FALSE(fs::exists("Karten/Insel.MAP.sicherung"));
    EXPECT_TRUE(fs::exists(running));
    Drain();

    EXPECT_EQ(Document.FileName, "Wald");
    EXPECT_EQ(Document.MapName, "Wald nach dem Absturz");
    EXPECT_EQ(Title(), "Veldrane Murmelwald Karteneditor 1.0 <Wald> *");
    EXPECT_EQ(*Document.TileSet.Image, ts::ReadBytes("bunt.PNG"));
    EXPECT_TRUE(fs::exists(gone));  // kept until saved or discarded
    ts::Key(0, 'S', ts::kControl);
    Drain();
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.MAP"), waldCopy);
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.PNG"), ts::ReadBytes("bunt.PNG"));
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_FALSE(fs::exists(goneImage));
    EXPECT_TRUE(fs::exists(running));
}

// Two editors on one map: each writes a copy of its own, and saving removes only its own.
// A restored copy gives way to this editor's own once the map changes again.
TEST_F(RecoveryTest, TwoEditorsOnOneMapKeepACopyEachAndRemoveOnlyTheirOwn) {
    ts::OtherProcess other;
    const std::string othersCopy = "Karten/Wald.MAP." + other.Id() + "-89abcdef.sicherung";
    const std::string othersImage = "Karten/Wald.PNG." + other.Id() + "-89abcdef.sicherung";
    fs::copy_file("Karten/Insel.MAP", othersCopy);
    fs::copy_file("bunt.PNG", othersImage);
    Document.FileName = "Wald";
    editor::LoadMap();
    PaintField(1, 1, 3);
    WriteCopyNow();
    EXPECT_NE(OwnCopy("Wald"), othersCopy);
    EXPECT_TRUE(fs::exists(OwnCopy("Wald")));
    EXPECT_EQ(ts::ReadBytes(othersCopy), ts::ReadBytes("Karten/Insel.MAP"));
    ts::Key(0, 'S', ts::kControl);
    Drain();
    EXPECT_FALSE(fs::exists(OwnCopy("Wald")));
    EXPECT_TRUE(fs::exists(othersCopy));
    EXPECT_TRUE(fs::exists(othersImage));
    Answer({});
    editor::OfferRecoveryCopies();
    EXPECT_TRUE(questions.empty());

    // A dead editor's copy, restored and then changed: this editor's own copy replaces it.
    const std::string gone = "Karten/Insel.MAP." + ts::EndedProcessId() + "-01234567.sicherung";
    fs::copy_file("Karten/Insel.MAP", gone);
    Answer({0});  // Wiederherstellen
    editor::OfferRecoveryCopies();
    ASSERT_EQ(questions.size(), 1u);
    Drain();
    EXPECT_EQ(Document.FileName, "Insel");
    PaintField(2, 2, 5);
    WriteCopyNow();
    EXPECT_FALSE(fs::exists(gone));
    EXPECT_TRUE(fs::exists(OwnCopy("Insel")));
    EXPECT_TRUE(fs::exists(othersCopy));
}

// A copy damaged so that the editor's corrections must act gets them before the first event
// uses its values (a field size of 0 divided the mouse position by zero).
TEST_F(RecoveryTest, ARestoredDamagedCopyIsCorrectedBeforeTheFirstEvent) {
    struct Case {
        std::int32_t fieldWidth, fieldHeight, lastX, lastY;
    };
    for (const Case c :
         {Case{0, 64, 5, 3}, Case{40, 0, 5, 3}, Case{0, -7, 0, 0}, Case{24, 40, 5000, 3}}) {
        SCOPED_TRACE(testing::Message() << c.fieldWidth << " x " << c.fieldHeight);
        editor::NewMap();
        Document.FieldWidth = c.fieldWidth;
        Document.FieldHeight = c.fieldHeight;
        Document.LastFieldX = c.lastX;
        Document.LastFieldY = c.lastY;
        ASSERT_TRUE(editor::WriteMapFileTo(editor::RecoveryCopyPath("Kaputt")));
        editor::NewMap();
        editor::ResetRecovery();
        Answer({0});  // Wiederherstellen
        editor::OfferRecoveryCopies();
        EXPECT_GE(Document.FieldWidth, 1);
        EXPECT_GE(Document.FieldHeight, 1);
        EXPECT_LE(Document.LastFieldX, 999);
        MoveTo(InView(250, 250));  // the first event locates the mouse on the map
        MoveTo(InView(251, 250));
        EXPECT_EQ(Document.FileName, "Kaputt");
        EXPECT_EQ(Title(), "Veldrane Murmelwald Karteneditor 1.0 <Kaputt> *");
        fs::remove(editor::RecoveryCopyPath("Kaputt").replace(6, 1, "/"));
    }
}

// The real main program in this process: it offers the copy at start, and its normal end,
// after the question is answered with Verwerfen, leaves no copy behind.
TEST(RecoveryProgramTest, TheProgramOffersTheCopyAtStartAndANormalEndRemovesIt) {
    ts::TempDir dir;
    fs::copy(MAPEDITOR_SAMPLES_DIR "/Karten", "Karten");
    fs::copy_file("Karten/Wald.MAP", "Karten/Wald.MAP.sicherung");
    editor::ResetEditorState();
    Document = editor::MapDocument{};
    std::vector<std::string> asked;
    std::vector<std::uint32_t> shown;  // the view's top-left pixel on screen when asked
    platform::SetMessageBoxAnswerForTesting([&](const platform::MessageBoxView& view) {
        asked.push_back(view.text);
        shown.push_back(screen::ScreenBackBufferPixel(0, 0));
        return asked.size() == 1 ? 0 : 1;  // Wiederherstellen, then Verwerfen
    });
    // The user quits once the restored map is on screen and no requester is open. The user
    // looks every 100 ms while the editor runs (and not after: `running` outlives the test).
    // After the requester the window is made the active one and waited for, as the other
    // tests do before their first input: under Wine a drop-down opened at once after the
    // requester closed was cancelled again (WM_CANCELMODE) before its item was clicked.
    std::string title;
    const auto start = std::chrono::steady_clock::now();
    const auto running = std::make_shared<bool>(true);
    bool gaveUp = false;
    std::function<void()> user = [&, running] {
        if (!*running) return;
        const std::string now = ts::WindowTitle(0);  // "" until the window shows
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(20) && !gaveUp) {
            ADD_FAILURE() << "the editor did not end with the restored map";  // never hang
            gaveUp = true;
            ts::CloseBox(0);
        } else if (title.empty() && !ts::RequesterIsOpen() &&
                   now.find("<Wald>") != std::string::npos && ts::ActivateWindow(0) &&
                   ts::ChooseMenuItem(0, "Datei", "Editor beenden")) {
            title = now;
        }
        ts::RunLater(100, user);
    };
    ts::RunLater(100, user);
    EXPECT_EQ(editor::EditorMain(), 0);
    *running = false;
    platform::SetMessageBoxAnswerForTesting(nullptr);
    EXPECT_EQ(asked.size(), 2u);
    // The offer came over the editor's first picture (the grey beside the map), not black.
    EXPECT_EQ(shown, (std::vector<std::uint32_t>{editor_testing::kGrey, editor_testing::kGrey}));
    EXPECT_EQ(title, "Veldrane Murmelwald Karteneditor 1.0 <Wald> *");
    EXPECT_FALSE(fs::exists("Karten/Wald.MAP.sicherung"));
    EXPECT_EQ(std::distance(fs::directory_iterator("Karten"), {}),
              std::distance(fs::directory_iterator(MAPEDITOR_SAMPLES_DIR "/Karten"), {}));
}

}  // namespace
