// Never losing work in the running editor: the question before changes would be lost, the star
// in the title, undo and redo from the menu and the keyboard back to the saved bytes, and the
// shortcuts.
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>

#include "EditorFixture.h"
#include "editor/History.h"
#include "editor/Selection.h"
#include "gui/Menu.h"

namespace {

using editor::Document;
using editor_testing::EditorTest;
namespace ts = testing_support;

constexpr const char* kTitle = "Veldrane Murmelwald Karteneditor 1.0 <NONAME>";

enum class WayOut { New, Open, Quit, CloseBox };

class UnsavedTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        std::filesystem::copy(MAPEDITOR_SAMPLES_DIR "/Karten", "Karten");
    }

    // Takes the way out; returns the last pass's event.
    std::int32_t Leave(WayOut way) {
        switch (way) {
            case WayOut::New:
                Menu("Datei", "Neu");
                break;
            case WayOut::Open:
                ChooseFiles({InHere("Karten/Wald.MAP")});
                Menu("Datei", "Öffnen...");
                break;
            case WayOut::Quit:
                Menu("Datei", "Editor beenden");
                break;
            case WayOut::CloseBox:
                ts::CloseBox(0);
                break;
        }
        return Drain();
    }

    // Whether the way out went on: a new map, Wald opened, or the loop ending.
    static bool WentOn(WayOut way, std::int32_t event) {
        switch (way) {
            case WayOut::New:
                return Document.Fields(1, 1) == 0;
            case WayOut::Open:
                return Document.FileName == "Wald";
            default:
                return event == gui::EVENT_CLOSE;
        }
    }
};

TEST_F(UnsavedTest, EveryWayOutAsksAboutChangesAndDoesWhatTheAnswerSays) {
    struct Case {
        const char* what;
        bool changed;
        std::int32_t answer;  // -1: no question expected
        bool goesOn, saves;
    };
    const Case cases[] = {
        {"unchanged: nothing is asked", false, -1, true, false},
        {"Speichern (Return)", true, platform::kPressReturn, true, true},
        {"Verwerfen", true, 1, true, false},
        {"Abbrechen (Escape)", true, platform::kPressEscape, false, false},
        {"Abbrechen (its button)", true, 2, false, false},
    };
    for (const WayOut way : {WayOut::New, WayOut::Open, WayOut::Quit, WayOut::CloseBox}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.what) + ", way out " +
                         std::to_string(static_cast<int>(way)));
            editor::NewMap();
            Drain();
            std::filesystem::remove("Karten/NONAME.MAP");
            if (c.changed) PaintField(1, 1, 3);
            EXPECT_EQ(Title(), c.changed ? std::string(kTitle) + " *" : kTitle);
            Answer(c.answer == -1 ? std::vector<std::int32_t>{} : std::vector{c.answer});

            const std::int32_t event = Leave(way);
            ASSERT_EQ(questions.size(), c.answer == -1 ? 0u : 1u);
            if (!questions.empty()) {
                EXPECT_EQ(questions[0].text,
                          runtime::Cp1252(
                              "Die Karte NONAME hat ungespeicherte Änderungen. Jetzt speichern?"));
                EXPECT_EQ(questions[0].buttons,
                          (std::vector<std::string>{"Speichern", "Verwerfen", "Abbrechen"}));
                EXPECT_EQ(questions[0].defaultButton, 0);
                EXPECT_EQ(questions[0].escapeButton, 2);
            }
            EXPECT_EQ(WentOn(way, event), c.goesOn);
            EXPECT_EQ(std::filesystem::exists("Karten/NONAME.MAP"), c.saves);
            if (c.saves) {
                EXPECT_EQ(ts::ReadBytes("Karten/NONAME.MAP")[30 + 10 + 12 + 4 * 7], 3);
            }
            if (!c.goesOn) {
                EXPECT_EQ(Document.Fields(1, 1), 3);  // the map is kept, still changed
                EXPECT_EQ(Title(), std::string(kTitle) + " *");
            }
        }
    }
}

TEST_F(UnsavedTest, AFailedSaveInTheQuestionKeepsTheEditorAndTheMap) {
    editor::SaveMap();
    const auto saved = ts::ReadBytes("Karten/NONAME.MAP");
    std::filesystem::permissions("Karten/NONAME.MAP", std::filesystem::perms::owner_read);
    PaintField(1, 1, 4);
    for (const WayOut way : {WayOut::Quit, WayOut::CloseBox, WayOut::New, WayOut::Open}) {
        SCOPED_TRACE(static_cast<int>(way));
        Answer({0});
        const std::int32_t event = Leave(way);
        EXPECT_FALSE(WentOn(way, event));
        EXPECT_EQ(Document.Fields(1, 1), 4);
        EXPECT_TRUE(editor::HistoryChanged());
        EXPECT_EQ(StatusMessage(), "Karte konnte nicht gespeichert werden: Karten\\NONAME.MAP");
        EXPECT_EQ(ts::ReadBytes("Karten/NONAME.MAP"), saved);
    }
}

TEST_F(UnsavedTest, UndoAndRedoOfEveryKindOfEditLeadBackToTheSavedBytes) {
    ChooseFiles({InHere("Karten/Wald.MAP")});
    Menu("Datei", "Öffnen...");
    Drain();
    const auto original = ts::ReadBytes("Karten/Wald.MAP");
    ASSERT_EQ(Document.MapName, "Murmelwald");

    // Each edit is one step; typing a value is one step however many keys it takes.
    PaintField(1, 1, 5);
    TypeInto(editor::kMapNameField, "Wiese");
    TypeInto(editor::kFieldWidthField, "48");
    TypeInto(editor::kLastFieldXField, "3");   // fields beyond column 3 stay in the document
    TypeInto(editor::kPlayerCountField, "1");  // so do players 2 to 4
    TypeInto(editor::kSlotCountField, "2");    // and the balls follow the slots
    MoveTo(InView(100, 50));
    ts::Key(0, gui::KEYCODE_ENTER);  // ENTER: the current player's position
    Drain();
    ClickAt(ts::TrackBarHandle(editor::kDirectionBar, 9));  // focus, not moved: 45 degrees
    ts::Key(0, gui::KEYCODE_RIGHT);
    Drain();
    constexpr int kEdits = 8;
    EXPECT_EQ(editor::HistoryStepCount(), kEdits);
    EXPECT_EQ(Document.BallCount, 2);
    const auto edited = [] {
        editor::SaveMap();
        return ts::ReadBytes("Karten/Wald.MAP");
    };
    EXPECT_NE(edited(), original);
    editor::SaveMap();  // saved in between: the edits stay undoable

    ClickAt(ts::GadgetCentre(editor::kMapNameField));  // the shortcut wins over the field
    for (int i = 0; i < kEdits; ++i) {
        ts::Key(0, 'Z', ts::kControl);
        Drain();
    }
    EXPECT_EQ(Document.MapName, "Murmelwald");
    EXPECT_EQ(gui::GadgetGetText(editor::kMapNameField), "Murmelwald");
    EXPECT_EQ(Document.FieldWidth, 64);
    EXPECT_EQ(Document.BallCount, 4);
    EXPECT_TRUE(editor::HistoryChanged());  // the file holds the edits now
    EXPECT_EQ(Title(), "Veldrane Murmelwald Karteneditor 1.0 <Wald> *");
    editor::SaveMap();
    EXPECT_EQ(ts::ReadBytes("Karten/Wald.MAP"), original);

    // Redone with both shortcuts, the edits are all back.
    for (int i = 0; i < kEdits; ++i) {
        ts::Key(0, i % 2 == 0 ? 'Y' : 'Z',
                i % 2 == 0 ? ts::kControl : ts::kControl | ts::kShift);
        Drain();
    }
    EXPECT_EQ(Document.MapName, "Wiese");
    EXPECT_EQ(Document.Fields(1, 1), 5);
    editor::SaveMap();
    ts::Key(0, 'Z', ts::kControl);  // one back, then through the menu again
    Drain();
    Menu("Bearbeiten", "Wiederholen");
    Drain();
    EXPECT_FALSE(editor::HistoryChanged());
    EXPECT_EQ(Document.Players(1).Direction, 50);
    Menu("Bearbeiten", "Rückgängig");
    Drain();
    EXPECT_EQ(Document.Players(1).Direction, 45);
    EXPECT_TRUE(editor::HistoryChanged());
}

TEST_F(UnsavedTest, TheShortcutsAreShownInTheMenusAndWorkInATextField) {
    const std::vector<std::string> expected = {
        "Neu\tStrg+N",           "Öffnen...\tStrg+O",
        "Speichern\tStrg+S",     "Speichern unter...\tStrg+Umschalt+S",
        "Kachelsatz laden...",   "Editor beenden\tStrg+Q",
        "Rückgängig\tStrg+Z",    "Wiederholen\tStrg+Y",
        "Ausschneiden\tStrg+X",  "Kopieren\tStrg+C",
        "Einfügen\tStrg+V",      "Löschen\tEntf",
        "Alles auswählen\tStrg+A", "Horizontal spiegeln",
        "Vertikal spiegeln",     "Vergrößern\tStrg++",
        "Verkleinern\tStrg+-",   "Originalgröße\tStrg+0",
        "Ganze Karte",           "Gitter\tStrg+G",
        "Kachelpalette",         "Übersicht",
        "Pinsel\tStrg+1",        "Auswahl\tStrg+2",
        "Rechteck\tStrg+3"};
    EXPECT_EQ(ts::MenuItemTexts(0), expected);

    struct Case {
        int key;
        ts::Modifiers modifiers;
        bool changeFirst;
        std::function<bool()> happened;
    };
    const Case cases[] = {
        {'S', ts::kControl, true,
         [&] { return std::filesystem::exists("Karten/NONAME.MAP"); }},
        {'N', ts::kControl, false, [&] { return Document.Fields(0, 0) == 0; }},
        {'S', ts::kControl | ts::kShift, false,
         [&] { return dialogs.size() == 1 && dialogs[0].save; }},
        {'O', ts::kControl, false,
         [&] { return dialogs.size() == 1 && !dialogs[0].save; }},
        {'Z', ts::kControl, true, [&] { return Document.Fields(0, 0) == 0; }},
        {'2', ts::kControl, false,
         [&] { return editor::Tools.Current == editor::Tool::Select; }},
        {'3', ts::kControl, false,
         [&] { return editor::Tools.Current == editor::Tool::Rectangle; }},
        {'G', ts::kControl, false, [&] { return editor::View.Grid; }},
        {'1', ts::kControl, false,
         [&] { return editor::Tools.Current == editor::Tool::Brush; }},
        {'Q', ts::kControl, false, [] { return true; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        std::filesystem::remove("Karten/NONAME.MAP");
        if (c.changeFirst) PaintField(0, 0, 2);
        ChooseFiles({});
        ClickAt(ts::GadgetCentre(editor::kSlotCountField));
        ts::Key(0, c.key, c.modifiers);
        const std::int32_t event = Drain();
        EXPECT_TRUE(c.happened());
        EXPECT_EQ(gui::GadgetGetText(editor::kSlotCountField), "8");  // the field got no key
        EXPECT_EQ(event == gui::EVENT_CLOSE, c.key == 'Q');
    }
}

// What the Bearbeiten menu shows: whether Rückgängig and Wiederholen can be chosen.
std::pair<bool, bool> UndoRedoShown() {
    const std::vector<bool> undo = ts::MenuItemShownEnabled(0, "Rückgängig");
    const std::vector<bool> redo = ts::MenuItemShownEnabled(0, "Wiederholen");
    return {!undo.empty() && undo.back(), !redo.empty() && redo.back()};
}

TEST_F(UnsavedTest, UndoAndRedoAreGreyedWhenThereIsNothingToDo) {
    struct Case {
        const char* after;
        std::function<void()> act;
        bool undo;
        bool redo;
        int field;  // field (0, 0)
    };
    const Case cases[] = {
        {"a new map", [] {}, false, false, 0},
        {"the press of a stroke",
         [&] {
             gui::GadgetSetState(editor::kBrushBar, 3);
             MoveTo(InView(70, 70));
             ts::Press(0, InView(70, 70));
             Drain();
         },
         true, false, 3},
        {"its release",
         [&] {
             ts::Release(0, InView(70, 70));
             Drain();
         },
         true, false, 3},
        {"Strg+Z",
         [&] {
             ts::Key(0, 'Z', ts::kControl);
             Drain();
         },
         false, true, 0},
        {"Strg+Z once more (nothing to undo)",
         [&] {
             ts::Key(0, 'Z', ts::kControl);
             Drain();
         },
         false, true, 0},
        {"Wiederholen",
         [&] {
             Menu("Bearbeiten", "Wiederholen");
             Drain();
         },
         true, false, 3},
        {"Strg+Y once more (nothing to redo)",
         [&] {
             ts::Key(0, 'Y', ts::kControl);
             Drain();
         },
         true, false, 3},
        {"Rückgängig and a paint",
         [&] {
             Menu("Bearbeiten", "Rückgängig");
             Drain();
             PaintField(2, 2, 3);
         },
         true, false, 0},
        {"Neu",
         [&] {
             Answer({1});  // Verwerfen
             Leave(WayOut::New);
         },
         false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.after);
        c.act();
        EXPECT_EQ(UndoRedoShown(), std::make_pair(c.undo, c.redo));
        EXPECT_EQ(gui::MenuItemEnabled(editor::kMainMenu, editor::kItemUndo), c.undo);
        EXPECT_EQ(gui::MenuItemEnabled(editor::kMainMenu, editor::kItemRedo), c.redo);
        EXPECT_EQ(Document.Fields(0, 0), c.field);
    }
}

}  // namespace
