// The recovery copy: written while the map has unsaved changes (also while the editor only
// waits), removed when they are saved or discarded, offered and restored at the next start.
#include "editor/Recovery.h"

#include <QElapsedTimer>
#include <QTimer>
#include <filesystem>
#include <string>

#include "EditorFixture.h"
#include "editor/History.h"
#include "editor/MainLoop.h"
#include "editor/MapFile.h"
#include "platform/QtApp.h"
#include "runtime/Timer.h"

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
    const auto copy = ts::ReadBytes("Karten/NONAME.MAP.sicherung");
    EXPECT_EQ(editor::RecoveryWaitMs(runtime::ElapsedMilliseconds()), -1);
    MoveTo({700, 541});  // a pass that changes nothing needs no new copy
    EXPECT_EQ(editor::RecoveryWaitMs(runtime::ElapsedMilliseconds()), -1);

    // Undone back to the new map: nothing to keep.
    ts::Key(0, Qt::Key_Z, Qt::ControlModifier);
    Drain();
    EXPECT_TRUE(fs::exists("Karten/NONAME.MAP.sicherung"));
    ts::Key(0, Qt::Key_Z, Qt::ControlModifier);
    Drain();
    EXPECT_FALSE(fs::exists("Karten/NONAME.MAP.sicherung"));

    // The copy holds what a save writes; saving removes it.
    ts::Key(0, Qt::Key_Y, Qt::ControlModifier);
    ts::Key(0, Qt::Key_Y, Qt::ControlModifier);
    Drain();
    WriteCopyNow();
    EXPECT_EQ(ts::ReadBytes("Karten/NONAME.MAP.sicherung"), copy);
    ts::Key(0, Qt::Key_S, Qt::ControlModifier);
    Drain();
    EXPECT_EQ(ts::ReadBytes("Karten/NONAME.MAP"), copy);
    EXPECT_FALSE(fs::exists("Karten/NONAME.MAP.sicherung"));
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
        EXPECT_EQ(ts::ReadBytes("Karten/Wald.PNG.sicherung"), ts::ReadBytes("bunt.PNG"));
        EXPECT_TRUE(fs::exists("Karten/Wald.MAP.sicherung"));
        Answer({1});  // Verwerfen
        if (newMap) {
            Menu("Datei", "Neu");
        } else {
            ChooseFiles({InHere("Karten/Insel.MAP")});
            Menu("Datei", "Öffnen...");
        }
        Drain();
        EXPECT_FALSE(fs::exists("Karten/Wald.MAP.sicherung"));
        EXPECT_FALSE(fs::exists("Karten/Wald.PNG.sicherung"));
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
    ASSERT_TRUE(fs::exists("Karten/Wald.PNG.sicherung"));
    ts::Key(0, Qt::Key_Z, Qt::ControlModifier);  // the tile set is the saved one again
    Drain();
    WriteCopyNow();
    EXPECT_TRUE(fs::exists("Karten/Wald.MAP.sicherung"));  // the painted field still needs one
    EXPECT_FALSE(fs::exists("Karten/Wald.PNG.sicherung"));
}

TEST_F(RecoveryTest, ACopyIsWrittenWhileTheEditorWaitsForInput) {
    Recovery.DelayMs = 50;
    PaintField(1, 1, 3);
    ASSERT_FALSE(fs::exists("Karten/NONAME.MAP.sicherung"));
    // Nothing happens for a while; then the user moves the mouse.
    QTimer::singleShot(300, [] { ts::MouseMove(0, {700, 300}); });
    const std::int32_t event = editor::NextEvent();
    EXPECT_EQ(event, gui::EVENT_MOUSE_MOVE);
    EXPECT_TRUE(fs::exists("Karten/NONAME.MAP.sicherung"));
}

TEST_F(RecoveryTest, TheStartOffersEachCopyAndRestoresTheChosenOne) {
    // Copies of two maps: Insel with its changes, Wald with a changed map and tile set.
    Document.FileName = "Wald";
    editor::LoadMap();
    editor::SetMapName("Wald nach dem Absturz");
    editor::SetField(3, 3, 7);
    editor::WriteMapFileTo(editor::RecoveryCopyPath("Wald"));
    const auto waldCopy = ts::ReadBytes("Karten/Wald.MAP.sicherung");
    fs::copy_file("bunt.PNG", "Karten/Wald.PNG.sicherung");
    fs::copy_file("Karten/Insel.MAP", "Karten/Insel.MAP.sicherung");
    editor::NewMap();
    editor::ResetRecovery();

    Answer({1, 0});  // Insel comes first: Verwerfen; then Wald: Wiederherstellen
    editor::OfferRecoveryCopies();
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[1].text,
              runtime::Cp1252("Von der Karte Wald gibt es eine Sicherungskopie mit Änderungen, "
                              "die nicht gespeichert wurden. Wiederherstellen?"));
    EXPECT_EQ(questions[1].buttons, (std::vector<std::string>{"Wiederherstellen", "Verwerfen"}));
    EXPECT_EQ(questions[1].escapeButton, -1);  // only a button answers it
    EXPECT_FALSE(fs::exists("Karten/Insel.MAP.sicherung"));
    Drain();

    EXPECT_EQ(Document.FileName, "Wald");
    EXPECT_EQ(Document.MapName, "Wald nach dem Absturz");
    EXPECT_EQ(Title(), "Veldrane Murmelwald Karteneditor 1.0 <Wald> *");
    EXPECT_EQ(*Document.TileSet.Image, ts::ReadBytes("bunt.PNG"));
    EXPECT_TRUE(fs::exists("Karten/Wald.MAP.sicherung"));  // kept until saved or discarded
    ts::Key(0, Qt::Key_S, Qt::ControlModifier);
    Drain();
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.MAP"), waldCopy);
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.PNG"), ts::ReadBytes("bunt.PNG"));
    EXPECT_FALSE(fs::exists("Karten/Wald.MAP.sicherung"));
    EXPECT_FALSE(fs::exists("Karten/Wald.PNG.sicherung"));
}

// A copy damaged so that the editor's corrections must act gets them before the first event
// uses its values (a field size of 0 divided the mouse position by zero).
TEST_F(RecoveryTest, ARestoredDamagedCopyIsCorrectedBeforeTheFirstEvent) {
    struct Case {
        std::int32_t fieldWidth, fieldHeight, lastX, lastY;
    };
    for (const Case c : {Case{0, 64, 5, 3}, Case{40, 0, 5, 3}, Case{0, -7, 0, 0},
                         Case{24, 40, 5000, 3}}) {
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
    platform::EnsureApplication();  // for the timer that plays the user
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
    // The user quits once the restored map is on screen and no requester is open.
    std::string title;
    QTimer user;
    user.setInterval(100);
    QElapsedTimer waited;
    waited.start();
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWindow* window = ts::TopQWindow(0);
        if (waited.elapsed() > 20000 && window != nullptr) {  // never leave the test hanging
            ADD_FAILURE() << "the restored map did not come up";
            user.stop();
            window->close();
            return;
        }
        if (window == nullptr || QApplication::activeModalWidget() != nullptr ||
            !window->title().contains(QStringLiteral("<Wald>"))) {
            return;
        }
        title = window->title().toStdString();
        if (ts::ChooseMenuItem(0, "Datei", "Editor beenden")) user.stop();
    });
    user.start();
    EXPECT_EQ(editor::EditorMain(), 0);
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
