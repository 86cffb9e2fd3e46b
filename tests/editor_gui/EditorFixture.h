// The whole editor started in the test's process on the real toolkit, with helpers that give
// it a user's input and run one main-loop pass per event that arrives.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <filesystem>
#include <functional>
#include <string>

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
#include "platform/UiTesting.h"
#include "runtime/Runtime.h"
#include "screen/Screen.h"
#include "screen/ScreenInstall.h"
#include "support/GuiInput.h"
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
        ASSERT_TRUE(ts::WaitForWindow(0));
        Drain();
    }
    void TearDown() override {
        platform::SetFileDialogAnswerForTesting(nullptr);
        runtime::RuntimeEnd();
    }

    // Runs one pass for every event that has arrived; returns the last pass's event.
    std::int32_t Drain() {
        QApplication::processEvents();
        std::int32_t last = 0;
        for (std::int32_t e; (e = gui::WindowEventFetch(0)) != 0;) last = editor::EditorPass(e);
        return last;
    }

    // The mouse on a client point, as moved there by the user.
    void MoveTo(QPoint client) {
        ts::CursorTo(0, client);
        ts::MouseMove(0, client);
        Drain();
    }
    void ClickAt(QPoint client, Qt::MouseButton button = Qt::LeftButton,
                 Qt::KeyboardModifiers modifiers = {}) {
        MoveTo(client);
        ts::Click(0, client, button, modifiers);
        Drain();
    }
    void WheelAt(QPoint client, int delta, Qt::KeyboardModifiers modifiers = {},
                 bool horizontal = false) {
        MoveTo(client);
        ts::Wheel(0, client, delta, modifiers, horizontal);
        Drain();
    }
    // Replaces a text field's content by typing, as a user does.
    void TypeInto(std::int32_t gadget, const std::string& text) {
        ts::ClickGadget(0, gadget);
        ts::Key(0, Qt::Key_A, Qt::ControlModifier);
        ts::Type(0, text);
        Drain();
    }
    static std::uint32_t Pixel(int x, int y) { return screen::ScreenBackBufferPixel(x, y); }
    static std::string StatusMessage(int field = 2) {
        return platform::StatusBarPartText(gui::StatusBarHandleOf(0), field);
    }
    // The client point over view position (x, y).
    static QPoint InView(int x, int y) { return {x + 4, y + 4}; }

    // Saves a map of (lastX + 1) x (lastY + 1) fields of fw x fh pixels, all 0, beside a tile
    // set `width` pixels wide (two rows of fh) whose pixels `colour` gives as 0x00RRGGBB, and
    // opens it as the editor does.
    void OpenGeneratedMap(const std::string& name, int fw, int fh, int lastX, int lastY, int width,
                          const std::function<std::uint32_t(int x, int y)>& colour) {
        std::filesystem::create_directories("Karten");
        QImage tiles(width, 2 * fh, QImage::Format_RGB32);
        for (int y = 0; y < tiles.height(); ++y) {
            for (int x = 0; x < width; ++x) tiles.setPixel(x, y, colour(x, y));
        }
        ASSERT_TRUE(tiles.save(QString::fromStdString("Karten/" + name + ".PNG"), "PNG"));
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
        MoveTo({700, 541});
    }

    ts::TempDir dir;
};

}  // namespace editor_testing
