// The open requester (answered through the real dialog) and PathFilePart.
#include "gui/Requester.h"

#include <filesystem>

#include "GuiFixture.h"
#include "platform/UiFileDialog.h"
#include "platform/UiMessageBox.h"
#include "support/TempDir.h"

namespace testing_support {
namespace {

// The absolute path of a file or folder in the current folder, without a trailing separator,
// with '/' between the parts as the requesters give paths.
std::string InHere(const std::string& relative) {
    std::filesystem::path path = (std::filesystem::current_path() / relative).lexically_normal();
    if (!path.has_filename()) path = path.parent_path();
    return path.generic_string();
}

TEST(PathFilePart, CutsAPathDownToItsFileName) {
    struct Case {
        const char* path;
        const char* name;
    };
    const Case cases[] = {
        {"C:\\Maps\\Wald.MAP", "Wald.MAP"},
        {"Wald.MAP", "Wald.MAP"},
        {"C:\\Maps\\", ""},
        {"\"C:\\Maps\\X.MAP\"", "X.MAP"},
        {"\"X.MAP\"", "X.MAP"},
        {"/home/karten/Wald.MAP", "Wald.MAP"},
        {"Karten/Sub\\Wald.MAP", "Wald.MAP"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(gui::PathFilePart(c.path), c.name) << c.path;
    EXPECT_EQ(gui::PathFilePart(std::string_view{}), "");
}

class RequesterTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        std::filesystem::create_directory("Karten");
        OpenWindow();
    }
    void TearDown() override {
        platform::SetFileDialogAnswerForTesting({});
        GuiTest::TearDown();
    }
    TempDir dir_;
};

TEST_F(RequesterTest, ReturnsTheChosenPathAndShowsTheFolderAndPattern) {
    const std::string chosen = InHere("Karten/Wald.MAP");
    platform::FileDialogView seen;
    platform::SetFileDialogAnswerForTesting([&](const platform::FileDialogView& view) {
        seen = view;
        return chosen;  // need not exist; its folder does
    });
    EXPECT_EQ(gui::RequesterOpenFile("Karte laden", "Karten\\", "Karten (*.MAP)|*.MAP", 0), chosen);
    EXPECT_EQ(seen.title, "Karte laden");
    EXPECT_EQ(seen.directory, InHere("Karten"));
    EXPECT_EQ(seen.fileName, "");
    EXPECT_EQ(seen.filterLabels, std::vector<std::string>{"Karten (*.MAP)"});
    EXPECT_EQ(seen.selectedFilter, 0);
    EXPECT_EQ(gui::PathFilePart(chosen), "Wald.MAP");
}

TEST_F(RequesterTest, CancelGivesEmptyText) {
    platform::SetFileDialogAnswerForTesting([](const platform::FileDialogView&) { return ""; });
    EXPECT_EQ(gui::RequesterOpenFile("Karte laden", "Karten\\", "Karten (*.MAP)|*.MAP", 0), "");
}

TEST_F(RequesterTest, PathInAMissingFolderIsRefused) {
    platform::SetFileDialogAnswerForTesting([](const platform::FileDialogView&) {
        return InHere("Fehlt/Wald.MAP");
    });
    EXPECT_EQ(gui::RequesterOpenFile("Karte laden", "", "", 0), "");
}

TEST_F(RequesterTest, PathLongerThanTheBufferIsRefused) {
    const std::string folder(250, 'k');
    std::filesystem::create_directory(folder);
    const std::string chosen = InHere(folder + "/Wald.MAP");
    ASSERT_GT(chosen.size(), 259u);
    platform::SetFileDialogAnswerForTesting(
        [&](const platform::FileDialogView&) { return chosen; });
    EXPECT_EQ(gui::RequesterOpenFile("Karte laden", "", "", 0), "");
}

TEST_F(RequesterTest, DefaultFileGivesFolderAndNameField) {
    struct Case {
        const char* defaultFile;
        const char* folder;  // relative to the current one
        const char* name;
    };
    const Case cases[] = {
        {"Karten\\", "Karten", ""},
        {"Wald.MAP", ".", "Wald.MAP"},
        {"a:b", ".", ""},
        {"Karten\\Wald.MAP", "Karten", "Wald.MAP"},
        {"Karten\\W?ld.MAP", "Karten", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.defaultFile);
        platform::FileDialogView seen;
        platform::SetFileDialogAnswerForTesting([&](const platform::FileDialogView& view) {
            seen = view;
            return "";
        });
        gui::RequesterOpenFile("t", c.defaultFile, "Alle|*.*|Karten (*.MAP)|*.MAP", 1);
        EXPECT_EQ(seen.directory,
                  InHere(c.folder));
        EXPECT_EQ(seen.fileName, c.name);
        EXPECT_EQ(seen.filterLabels, (std::vector<std::string>{"Alle", "Karten (*.MAP)"}));
        EXPECT_EQ(seen.selectedFilter, 1);
    }
}

TEST_F(RequesterTest, TheSaveRequesterAddsTheExtensionAndAsksBeforeReplacing) {
    const auto inKarten = [](const char* name) {
        return InHere(std::string("Karten/") + name);
    };
    WriteBytes("Karten/Alt.MAP", {1});
    std::vector<platform::FileDialogView> dialogs;
    std::vector<std::string> questions;
    const auto answer = [&](std::vector<std::string> files, std::vector<std::int32_t> buttons) {
        dialogs.clear();
        questions.clear();
        platform::SetFileDialogAnswerForTesting(
            [&dialogs, files](const platform::FileDialogView& view) {
                dialogs.push_back(view);
                return dialogs.size() <= files.size() ? files[dialogs.size() - 1] : std::string();
            });
        platform::SetMessageBoxAnswerForTesting(
            [&questions, buttons](const platform::MessageBoxView& view) {
                questions.push_back(view.text);
                return questions.size() <= buttons.size() ? buttons[questions.size() - 1] : 1;
            });
    };
    const auto save = [] {
        return gui::RequesterSaveFile("Karte speichern unter", "Karten\\Wald.MAP",
                                      "Karten (*.MAP)|*.MAP", 0);
    };

    answer({inKarten("Neu")}, {});
    EXPECT_EQ(save(), inKarten("Neu.MAP"));
    ASSERT_EQ(dialogs.size(), 1u);
    EXPECT_TRUE(dialogs[0].save);
    EXPECT_EQ(dialogs[0].fileName, "Wald.MAP");
    EXPECT_TRUE(questions.empty());  // nothing to replace

    answer({inKarten("Alt.MAP")}, {0});  // Ersetzen
    EXPECT_EQ(save(), inKarten("Alt.MAP"));
    EXPECT_EQ(questions, std::vector<std::string>{
                             "Die Datei Alt.MAP gibt es schon. Soll sie ersetzt werden?"});

    // Not replaced: the requester comes back where it was; cancelling it gives "".
    answer({inKarten("Alt"), ""}, {1});
    EXPECT_EQ(save(), "");
    ASSERT_EQ(dialogs.size(), 2u);
    EXPECT_EQ(dialogs[1].fileName, "Alt.MAP");
    EXPECT_EQ(dialogs[1].directory, InHere("Karten"));
    platform::SetMessageBoxAnswerForTesting({});
}

TEST_F(RequesterTest, OtherWindowsTakeNoInputWhileTheDialogIsOpen) {
    ASSERT_NE(gui::WindowOpen(1, 420, 0, 200, 100, "zweites", 0), 0);
    ASSERT_TRUE(WaitForWindow(1));
    ASSERT_TRUE(ActivateWindow(0));  // the main window owns the dialog
    Settle();
    platform::SetFileDialogAnswerForTesting([](const platform::FileDialogView&) {
        Click(0, Point(30, 30));
        Click(1, Point(30, 30));
        Key(0, 'A');
        return "";
    });
    gui::RequesterOpenFile("Karte laden", "Karten\\", "Karten (*.MAP)|*.MAP", 0);
    const std::vector<int> codes = DrainCodes();
    for (int code : {513, 514, 256, 257}) {
        EXPECT_EQ(std::count(codes.begin(), codes.end(), code), 0) << code;
    }
    // Afterwards both windows take input again, the owner active as before.
    ASSERT_TRUE(WaitForWindow(0));
    Settle();
    MouseMove(0, Point(30, 30));
    Click(0, Point(30, 30));
    EXPECT_EQ(DrainWithoutMoves(), (std::vector<int>{513, 514}));
    MouseMove(1, Point(30, 30));
    Click(1, Point(30, 30));
    const std::vector<int> second = DrainWithoutMoves();
    EXPECT_NE(std::find(second.begin(), second.end(), 513), second.end());
}

}  // namespace
}  // namespace testing_support
