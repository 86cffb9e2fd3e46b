// The rules of the window system stand-in that need no user: menus and their greyed items with
// shortcuts, destruction order, handle validation, properties, the controls' notifications and
// states, status bars and posted messages. One source for both backends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Ui.h"
#include "platform/UiControls.h"
#include "platform/UiTesting.h"

namespace {

using platform::Handle;

struct Heard {
    Handle target;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Heard&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Heard& h) {
    return out << "{" << h.target << ", " << h.message << ", " << h.wParam << ", " << h.lParam
               << "}";
}

std::vector<Heard> gHeard;

constexpr std::uint32_t kTestMessage = 0x0400 + 17;  // a number of the program's own

// Notes the messages of the test's own kind and leaves the rest to the system.
std::intptr_t Recorder(Handle handle, std::uint32_t message, std::uintptr_t wParam,
                       std::intptr_t lParam) {
    switch (message) {
        case platform::WM_COMMAND:
        case platform::WM_DESTROY:
        case platform::WM_NCDESTROY:
        case kTestMessage:
            gHeard.push_back({handle, message, wParam, lParam});
            break;
        default:
            break;
    }
    return platform::DefWindowProc(handle, message, wParam, lParam);
}

class UiRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::UiInit();
        gHeard.clear();
        window_ = platform::CreateTopWindow("Regeln", platform::WS_CAPTION | platform::WS_SYSMENU,
                                            20, 20, false, 300, 200, &Recorder);
        ASSERT_NE(window_, 0);
    }
    void TearDown() override {
        platform::DestroyWindow(window_);
        // What the destruction left in the queue goes.
        platform::Message message;
        while (platform::PeekMessage(&message)) platform::DispatchMessage(message);
    }

    Handle Control(platform::ControlClass kind, std::uint32_t style, int id) {
        return platform::CreateControl(kind, window_, "", platform::WS_CHILD | platform::WS_VISIBLE | style,
                                       0, 10, 10 + 30 * id, 100, 24, id);
    }

    std::vector<Heard> Commands() const {
        std::vector<Heard> commands;
        for (const Heard& h : gHeard) {
            if (h.message == platform::WM_COMMAND) commands.push_back(h);
        }
        return commands;
    }

    Handle window_ = 0;
};

TEST_F(UiRulesTest, GreyedItemsStopTheirShortcuts) {
    const Handle bar = platform::CreateMenu();
    const Handle file = platform::CreateMenu();
    const Handle edit = platform::CreateMenu();
    ASSERT_TRUE(platform::AppendMenu(file, platform::MF_STRING, 7, "Speichern\tStrg+S"));
    ASSERT_TRUE(platform::AppendMenu(file, platform::MF_SEPARATOR, 0, ""));
    ASSERT_TRUE(platform::AppendMenu(edit, platform::MF_STRING, 7, "Noch einmal"));
    ASSERT_TRUE(platform::AppendMenu(bar, platform::MF_POPUP, static_cast<std::uintptr_t>(file),
                                     "Datei"));
    ASSERT_TRUE(platform::AppendMenu(bar, platform::MF_POPUP, static_cast<std::uintptr_t>(edit),
                                     "Bearbeiten"));
    ASSERT_TRUE(platform::SetMenu(window_, bar));
    EXPECT_EQ(platform::GetMenu(window_), bar);
    EXPECT_EQ(platform::GetMenuItemCount(file), 2);
    EXPECT_EQ(platform::GetMenuItemId(file, 0), 7);
    EXPECT_EQ(platform::GetMenuItemId(file, 1), -1);  // a separator
    EXPECT_EQ(platform::GetMenuItemId(bar, 0), -1);   // a drop-down
    EXPECT_EQ(platform::GetSubMenu(bar, 1), edit);
    EXPECT_EQ(platform::GetMenuItemText(bar, 0), "Datei");
    EXPECT_EQ(platform::GetMenuItemText(file, 0), "Speichern\tStrg+S");

    const Handle table = platform::CreateShortcutTable(
        {{platform::FVIRTKEY | platform::FCONTROL, 'S', 7}});
    platform::Message key;
    key.window = window_;
    key.message = platform::WM_KEYDOWN;
    key.wParam = 'S';
    key.keyModifiers = platform::FCONTROL;
    ASSERT_TRUE(platform::TranslateShortcut(window_, table, key));
    EXPECT_EQ(Commands(), (std::vector<Heard>{
                              {window_, platform::WM_COMMAND, platform::MakeWParam(7, 1), 0}}));

    // Greying reaches every item of the command, in every drop-down; the key is still taken.
    gHeard.clear();
    EXPECT_EQ(platform::EnableMenuItem(bar, 7, false), static_cast<std::int32_t>(platform::MF_ENABLED));
    EXPECT_EQ(platform::GetMenuItemState(file, 7), static_cast<std::int32_t>(platform::MF_GRAYED));
    EXPECT_EQ(platform::GetMenuItemState(edit, 7), static_cast<std::int32_t>(platform::MF_GRAYED));
    EXPECT_TRUE(platform::TranslateShortcut(window_, table, key));
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(platform::EnableMenuItem(bar, 7, true), static_cast<std::int32_t>(platform::MF_GRAYED));
    EXPECT_EQ(platform::GetMenuItemState(edit, 7), static_cast<std::int32_t>(platform::MF_ENABLED));
    EXPECT_EQ(platform::EnableMenuItem(bar, 99, false), -1);
    EXPECT_EQ(platform::GetMenuItemState(bar, 99), -1);

    // Other modifiers, a key release or a destroyed table do not match.
    key.keyModifiers = platform::FCONTROL | platform::FSHIFT;
    EXPECT_FALSE(platform::TranslateShortcut(window_, table, key));
    key.keyModifiers = platform::FCONTROL;
    key.message = platform::WM_KEYUP;
    EXPECT_FALSE(platform::TranslateShortcut(window_, table, key));
    key.message = platform::WM_KEYDOWN;
    platform::DestroyShortcutTable(table);
    EXPECT_FALSE(platform::TranslateShortcut(window_, table, key));
    EXPECT_TRUE(Commands().empty());
}

TEST_F(UiRulesTest, DestructionReachesWindowThenControlsAndLeavesNoHandle) {
    const Handle first = Control(platform::ControlClass::Static, 0, 1);
    const Handle second = Control(platform::ControlClass::Edit, platform::WS_TABSTOP, 2);
    ASSERT_NE(first, 0);
    ASSERT_NE(second, 0);
    EXPECT_EQ(platform::ChildWindows(window_), (std::vector<Handle>{first, second}));
    EXPECT_EQ(platform::GetParent(second), window_);
    EXPECT_EQ(platform::GetParent(window_), 0);
    EXPECT_TRUE(platform::IsChild(window_, second));
    for (Handle control : {first, second}) platform::SetWindowProc(control, &Recorder);
    ASSERT_TRUE(platform::SetProp(window_, "Nummer", 42));

    gHeard.clear();
    ASSERT_TRUE(platform::DestroyWindow(window_));
    const std::vector<Heard> expected{
        {window_, platform::WM_DESTROY, 0, 0},    {first, platform::WM_DESTROY, 0, 0},
        {second, platform::WM_DESTROY, 0, 0},     {first, platform::WM_NCDESTROY, 0, 0},
        {second, platform::WM_NCDESTROY, 0, 0},   {window_, platform::WM_NCDESTROY, 0, 0}};
    std::vector<Heard> destruction;
    for (const Heard& h : gHeard) {
        if (h.message == platform::WM_DESTROY || h.message == platform::WM_NCDESTROY) {
            destruction.push_back({h.target, h.message, 0, 0});
        }
    }
    EXPECT_EQ(destruction, expected);

    // Every entry refuses the handles now.
    for (Handle gone : {window_, first, second}) {
        EXPECT_FALSE(platform::IsWindow(gone));
        EXPECT_FALSE(platform::PostMessage(gone, kTestMessage, 0, 0));
        EXPECT_EQ(platform::SendMessage(gone, kTestMessage, 0, 0), 0);
        EXPECT_EQ(platform::GetProp(gone, "Nummer"), 0);
        EXPECT_FALSE(platform::SetWindowText(gone, "x"));
        EXPECT_FALSE(platform::DestroyWindow(gone));
    }
    EXPECT_EQ(gHeard.size(), expected.size());
    window_ = 0;
}

TEST_F(UiRulesTest, PropertiesTextsAndIdentifiers) {
    EXPECT_TRUE(platform::SetProp(window_, "Zahl", 5));
    EXPECT_EQ(platform::GetProp(window_, "Zahl"), 5);
    EXPECT_EQ(platform::GetProp(window_, "Andere"), 0);
    EXPECT_EQ(platform::RemoveProp(window_, "Zahl"), 5);
    EXPECT_EQ(platform::GetProp(window_, "Zahl"), 0);

    // CP1252 text keeps every byte, the Euro sign too.
    const std::string title = "Gr\xF6\xDF" "e \x80 5";
    ASSERT_TRUE(platform::SetWindowText(window_, title));
    EXPECT_EQ(platform::GetWindowText(window_), title);

    const Handle label = Control(platform::ControlClass::Static, 0, 3);
    EXPECT_EQ(platform::GetControlId(label), 3);
    platform::SetControlId(label, 9);
    EXPECT_EQ(platform::GetControlId(label), 9);
    std::int32_t x = 0;
    std::int32_t y = 0;
    ASSERT_TRUE(platform::GetControlPosition(label, &x, &y));
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 100);
    EXPECT_EQ(platform::GetWindowStyle(label) & platform::WS_DISABLED, 0u);
    EXPECT_FALSE(platform::EnableWindow(label, false));
    EXPECT_EQ(platform::GetWindowStyle(label) & platform::WS_DISABLED, platform::WS_DISABLED);
    EXPECT_TRUE(platform::EnableWindow(label, true));
}

TEST_F(UiRulesTest, ControlsNotifyTheirWindowOfTextsNotOfStatesSetByTheProgram) {
    const Handle field = Control(platform::ControlClass::Edit, platform::ES_AUTOHSCROLL, 4);
    gHeard.clear();
    ASSERT_TRUE(platform::SetWindowText(field, "abc"));
    ASSERT_TRUE(platform::SetWindowText(field, "abc"));  // the same text notifies again
    const auto notice = [&](std::uint32_t code) {
        return Heard{window_, platform::WM_COMMAND, platform::MakeWParam(4, code), field};
    };
    EXPECT_EQ(Commands(), (std::vector<Heard>{notice(platform::EN_UPDATE), notice(platform::EN_CHANGE),
                                             notice(platform::EN_UPDATE), notice(platform::EN_CHANGE)}));
    EXPECT_EQ(platform::GetWindowText(field), "abc");

    gHeard.clear();
    const Handle box =
        Control(platform::ControlClass::Button, platform::BS_AUTOCHECKBOX | platform::WS_TABSTOP, 5);
    EXPECT_EQ(platform::ButtonGetCheck(box), platform::BST_UNCHECKED);
    platform::ButtonSetCheck(box, platform::BST_CHECKED);
    EXPECT_EQ(platform::ButtonGetCheck(box), platform::BST_CHECKED);

    const Handle slider = Control(platform::ControlClass::TrackBar, 0, 6);
    platform::TrackBarSetRangeMin(slider, 2, false);
    platform::TrackBarSetRangeMax(slider, 10, false);
    EXPECT_EQ(platform::TrackBarGetRangeMin(slider), 2);
    EXPECT_EQ(platform::TrackBarGetRangeMax(slider), 10);
    platform::TrackBarSetPos(slider, 15, true);
    EXPECT_EQ(platform::TrackBarGetPos(slider), 10);
    platform::TrackBarSetPos(slider, -3, true);
    EXPECT_EQ(platform::TrackBarGetPos(slider), 2);
    EXPECT_TRUE(Commands().empty());

    // A control of another class answers no track bar or check box question.
    EXPECT_EQ(platform::TrackBarGetPos(field), 0);
    EXPECT_EQ(platform::ButtonGetCheck(slider), platform::BST_UNCHECKED);
}

TEST_F(UiRulesTest, StatusBarPartsAndTexts) {
    const Handle bar = platform::CreateStatusBar(window_, 77);
    ASSERT_NE(bar, 0);
    EXPECT_EQ(platform::StatusBarPartCount(bar), 1);
    const std::int32_t edges[] = {50, 120, -1};
    ASSERT_TRUE(platform::StatusBarSetParts(bar, edges, 3));
    EXPECT_EQ(platform::StatusBarPartCount(bar), 3);
    EXPECT_EQ(platform::StatusBarRightEdge(bar, 1), 120);
    EXPECT_EQ(platform::StatusBarRightEdge(bar, 2), -1);
    ASSERT_TRUE(platform::StatusBarSetText(bar, 2, "Gr\xF6\xDF" "e"));
    EXPECT_EQ(platform::StatusBarPartText(bar, 2), "Gr\xF6\xDF" "e");
    EXPECT_FALSE(platform::StatusBarSetText(bar, 3, "zu weit"));
    EXPECT_EQ(platform::StatusBarPartText(bar, 3), "");
    const std::int32_t placed = platform::StatusBarPlaceCount(bar);
    platform::StatusBarPlace(bar);
    EXPECT_EQ(platform::StatusBarPlaceCount(bar), placed + 1);
}

TEST_F(UiRulesTest, PostedMessagesArriveInOrderAndReachTheProcedureWhenDispatched) {
    ASSERT_TRUE(platform::PostMessage(window_, kTestMessage, 1, 10));
    ASSERT_TRUE(platform::PostMessage(window_, kTestMessage, 2, 20));
    EXPECT_TRUE(platform::WaitMessage(1000));
    std::vector<Heard> fetched;
    platform::Message message;
    while (platform::PeekMessage(&message)) {
        if (message.message != kTestMessage) continue;
        fetched.push_back({message.window, message.message, message.wParam, message.lParam});
        EXPECT_EQ(gHeard.size(), fetched.size() - 1);  // not before it is dispatched
        platform::DispatchMessage(message);
    }
    const std::vector<Heard> expected{{window_, kTestMessage, 1, 10},
                                      {window_, kTestMessage, 2, 20}};
    EXPECT_EQ(fetched, expected);
    EXPECT_EQ(gHeard, expected);
    EXPECT_FALSE(platform::WaitMessage(0));
}

}  // namespace
