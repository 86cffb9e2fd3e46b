// The whole editor started in this process for one test, with helpers that act as a user does
// and read what the editor shows.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "editor/EditorState.h"
#include "editor/EditorWindow.h"
#include "editor/MainLoop.h"
#include "editor/MapCommands.h"
#include "editor/MapDocument.h"
#include "gui/Gadget.h"
#include "gui/Gui.h"
#include "gui/StatusBar.h"
#include "gui/Window.h"
#include "platform/UiFileDialog.h"
#include "platform/UiMessageBox.h"
#include "platform/UiTesting.h"
#include "runtime/RtString.h"
#include "runtime/Runtime.h"
#include "screen/Screen.h"
#include "screen/ScreenInstall.h"
#include "screen/Sprite.h"
#include "support/GuiInput.h"
#include "support/PngFiles.h"
#include "support/TempDir.h"

namespace editor_testing {
using editor::Document;

namespace ts = testing_support;

constexpr std::uint32_t kGrey = 0x646464;
constexpr std::uint32_t kBlackPixel = 0;
constexpr std::uint32_t kRedPixel = 0xFF0000;  // back buffer pixels read as 0x00RRGGBB

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        editor::ResetEditorState();
        Document = editor::MapDocument{};
        gui::GuiInstall();
        screen::ScreenInstall();
        runtime::RuntimeStart();
        editor::BuildEditorWindow();
        editor::NewMap();
        screen::ScreenSetFrameRate(1000);  // keep the passes quick; pacing is tested elsewhere
        Answer({});  // a question nobody expects fails the test instead of waiting for a user
        ASSERT_TRUE(ts::WaitForWindow(0));
        Drain();
    }
    void TearDown() override {
        platform::SetFileDialogAnswerForTesting(nullptr);
        platform::SetMessageBoxAnswerForTesting(nullptr);
        runtime::RuntimeEnd();
    }

    // Runs one pass for every event that has arrived, or up to a pass that ends the loop;
    // returns the last pass's event.
    std::int32_t Drain() {
        ts::ProcessEventsFor(0);
        std::int32_t last = 0;
        for (std::int32_t e; last != gui::EVENT_CLOSE && (e = gui::WindowEventFetch(0)) != 0;) {
            last = editor::EditorPass(e);
        }
        return last;
    }

    // The mouse on a client point, as moved there by the user.
    void MoveTo(ts::Point client) {
        ts::CursorTo(0, client);
        ts::MouseMove(0, client);
        Drain();
    }
    void ClickAt(ts::Point client, ts::Button button = ts::Button::Left,
                 ts::Modifiers modifiers = {}) {
        MoveTo(client);
        ts::Click(0, client, button, modifiers);
        Drain();
    }
    void WheelAt(ts::Point client, int delta, ts::Modifiers modifiers = {},
                 bool horizontal = false) {
        MoveTo(client);
        ts::Wheel(0, client, delta, modifiers, horizontal);
        Drain();
    }
    // Replaces a text field's content by typing, as a user does.
    void TypeInto(std::int32_t gadget, const std::string& text) {
        ClickAt(ts::GadgetCentre(gadget));
        ts::Key(0, 'A', ts::kControl);
        ts::Type(0, text);
        Drain();
    }
    static std::uint32_t Pixel(int x, int y) { return screen::ScreenBackBufferPixel(x, y); }
    static std::string StatusMessage(int field = 2) {
        return platform::StatusBarPartText(gui::StatusBarHandleOf(0), field);
    }
    // The client point over view position (x, y).
    static ts::Point InView(int x, int y) { return {x + 4, y + 4}; }

    // Saves a map of (lastX + 1) x (lastY + 1) fields of fw x fh pixels, all 0, beside a tile
    // set `width` pixels wide (two rows of fh) whose pixels `colour` gives as 0x00RRGGBB, and
    // opens it as the editor does.
    void OpenGeneratedMap(const std::string& name, int fw, int fh, int lastX, int lastY, int width,
                          const std::function<std::uint32_t(int x, int y)>& colour) {
        std::filesystem::create_directories("Karten");
        ASSERT_TRUE(ts::WritePng("Karten/" + name + ".PNG", ts::Picture::Of(width, 2 * fh, colour)));
        editor::ResetDocument();
        Document.FileName = name;
        Document.FieldWidth = fw;
        Document.FieldHeight = fh;
        Document.LastFieldX = lastX;
        Document.LastFieldY = lastY;
        editor::SaveMap();
        editor::LoadMap();
        // The user moves the mouse on: the load's notifications come out in place of the first
        // move, as they do after the menu command.
        MoveTo({700, 540});
        MoveTo({700, 539});
    }

    // Paints field (x, y) of a map shown as after Neu or Öffnen (64-pixel fields, scroll -58).
    // Each click lands elsewhere in the field, so that two are never a double click.
    void PaintField(int x, int y, int brush) {
        static int clicks = 0;
        const int inside = 4 + 6 * (clicks++ % 9);
        gui::GadgetSetState(editor::kBrushBar, brush);
        ClickAt(InView(58 + 64 * x + inside, 58 + 64 * y + inside));
    }
    void Menu(const char* title, const char* item) {
        ASSERT_TRUE(ts::ChooseMenuItem(0, title, item));
    }
    static std::string Title() { return ts::WindowTitle(0); }

    // The message requesters that come up get these answers in order (a button's number, or
    // platform::kPressReturn / kPressEscape); `questions` keeps what each showed.
    void Answer(std::vector<std::int32_t> answers) {
        questions.clear();
        platform::SetMessageBoxAnswerForTesting(
            [this, answers, next = std::size_t{0}](const platform::MessageBoxView& view) mutable {
                questions.push_back(view);
                if (next < answers.size()) return answers[next++];
                ADD_FAILURE() << "unexpected question: " << view.text;
                return view.escapeButton >= 0 ? platform::kPressEscape : 0;
            });
    }
    // The file requesters that come up choose these paths in order ("" cancels); `dialogs`
    // keeps what each showed.
    void ChooseFiles(std::vector<std::string> paths) {
        dialogs.clear();
        platform::SetFileDialogAnswerForTesting(
            [this, paths, next = std::size_t{0}](const platform::FileDialogView& view) mutable {
                dialogs.push_back(view);
                return next < paths.size() ? paths[next++] : std::string();
            });
    }
    static std::string InHere(const std::string& relative) {
        return (std::filesystem::current_path() / relative).string();
    }

    std::vector<platform::MessageBoxView> questions;
    std::vector<platform::FileDialogView> dialogs;

    ts::TempDir dir;
};

}  // namespace editor_testing
