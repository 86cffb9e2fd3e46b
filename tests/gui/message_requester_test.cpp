// The message requester, answered through the real message box: which button each answer
// chooses, what the box shows, and that the program's windows wait while it is open.
#include <algorithm>

#include "GuiFixture.h"
#include "gui/MessageRequester.h"
#include "platform/UiMessageBox.h"
#include "runtime/RtString.h"

namespace testing_support {
namespace {

class MessageRequesterTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        OpenWindow();
    }
    void TearDown() override {
        platform::SetMessageBoxAnswerForTesting({});
        GuiTest::TearDown();
    }
};

TEST_F(MessageRequesterTest, EachAnswerChoosesItsButton) {
    struct Case {
        std::int32_t answer;
        std::int32_t cancelButton;
        std::int32_t chosen;
    };
    const Case cases[] = {
        {0, 2, 0},
        {1, 2, 1},
        {2, 2, 2},
        {platform::kPressReturn, 2, 0},  // the default button
        {platform::kPressEscape, 2, 2},  // the cancel button
        {platform::kPressEscape, 1, 1},
    };
    const std::string text = runtime::Cp1252("Die Karte Wald hat ungespeicherte Änderungen.");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        platform::MessageBoxView seen;
        platform::SetMessageBoxAnswerForTesting([&](const platform::MessageBoxView& view) {
            seen = view;
            return c.answer;
        });
        EXPECT_EQ(gui::RequesterMessage("Titel", text, "Speichern|Verwerfen|Abbrechen", 0,
                                        c.cancelButton),
                  c.chosen);
        EXPECT_EQ(seen.title, "Titel");
        EXPECT_EQ(seen.text, text);
        EXPECT_EQ(seen.buttons, (std::vector<std::string>{"Speichern", "Verwerfen", "Abbrechen"}));
        EXPECT_EQ(seen.defaultButton, 0);
        EXPECT_EQ(seen.escapeButton, c.cancelButton);
    }
    EXPECT_EQ(gui::RequesterMessage("Titel", "ohne Knopf", "", 0, 0), -1);
}

TEST_F(MessageRequesterTest, OtherWindowsTakeNoInputWhileItIsOpen) {
    ASSERT_NE(gui::WindowOpen(1, 420, 0, 200, 100, "zweites", 0), 0);
    ASSERT_TRUE(WaitForWindow(1));
    ASSERT_TRUE(ActivateWindow(0));
    Settle();
    bool secondEnabled = true;
    platform::SetMessageBoxAnswerForTesting([&](const platform::MessageBoxView&) {
        secondEnabled = platform::IsWindowEnabled(gui::WindowHandleOf(1));
        Click(0, Point(30, 30));
        Click(1, Point(30, 30));
        return 0;
    });
    EXPECT_EQ(gui::RequesterMessage("Titel", "Frage", "Ja|Nein", 0, 1), 0);
    EXPECT_FALSE(secondEnabled);
    const std::vector<int> codes = DrainCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), 513), 0);
    EXPECT_TRUE(platform::IsWindowEnabled(gui::WindowHandleOf(1)));
    // Afterwards the owner is the active window again and takes input.
    ASSERT_TRUE(WaitForWindow(0));
    Settle();
    MouseMove(0, Point(30, 30));
    Click(0, Point(30, 30));
    EXPECT_EQ(DrainWithoutMoves(), (std::vector<int>{513, 514}));
}

}  // namespace
}  // namespace testing_support
