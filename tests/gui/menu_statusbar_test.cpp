// Menus (building, choosing, re-creating) and status bars (fields, placement, the hook).

#include "GuiFixture.h"
#include "gui/Menu.h"
#include "gui/StatusBar.h"
#include "platform/Ui.h"
#include "platform/UiControls.h"
#include "runtime/RtString.h"

namespace testing_support {
namespace {

void AddFileMenu() {
    gui::MenuTitle("Datei");
    gui::MenuItem(0, "Neu");
    gui::MenuItem(1, runtime::Cp1252("Öffnen..."));
    gui::MenuItem(2, "Speichern");
    gui::MenuSeparator();
    gui::MenuItem(3, "Editor beenden");
}

void BuildFileMenu() {
    gui::MenuCreate(0, gui::WindowHandleOf(0));
    AddFileMenu();
}

TEST_F(GuiTest, MenuBarShowsOnlyFromTheFirstTitleAndHoldsTheEntriesInOrder) {
    OpenWindow(760, 560);
    const platform::Rect outer = Frame(0);
    ASSERT_NE(gui::StatusBarCreate(0, gui::WindowHandleOf(0)), 0);
    DrainCodes();
    ASSERT_NE(gui::MenuCreate(0, gui::WindowHandleOf(0)), 0);
    EXPECT_EQ(platform::GetMenu(gui::WindowHandleOf(0)), 0);
    EXPECT_EQ(MenuBarHeight(0), 0);
    // Where the client area starts on the screen.
    const auto ClientTop = [] {
        std::int32_t x = 0;
        std::int32_t y = 0;
        platform::ScreenToClient(gui::WindowHandleOf(0), &x, &y);
        return -y;
    };
    const int clientTop = ClientTop();

    AddFileMenu();
    gui::MenuTitle("Hilfe");

    const platform::Handle bar = gui::MenuHandleOf(0);
    ASSERT_EQ(platform::GetMenu(gui::WindowHandleOf(0)), bar);
    ASSERT_EQ(platform::GetMenuItemCount(bar), 2);  // the second title is beside the first
    EXPECT_EQ(platform::GetMenuItemText(bar, 0), "Datei");
    EXPECT_EQ(platform::GetMenuItemText(bar, 1), "Hilfe");
    const platform::Handle file = platform::GetSubMenu(bar, 0);
    ASSERT_EQ(platform::GetMenuItemCount(file), 5);
    const int ids[] = {0, 1, 2, -1, 3};
    const char* texts[] = {"Neu", "Öffnen...", "Speichern", "", "Editor beenden"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(platform::GetMenuItemId(file, i), ids[i]);
        EXPECT_EQ(platform::GetMenuItemText(file, i), runtime::Cp1252(texts[i]));
    }
    EXPECT_EQ(platform::GetMenuItemCount(platform::GetSubMenu(bar, 1)), 0);

    // The bar takes its height from the client area: the window keeps its size, the client
    // area moves down and is shorter, the program hears both, and the status bar sits at the
    // new bottom.
    const int barHeight = MenuBarHeight(0);
    EXPECT_GE(barHeight, 15);
    const platform::Rect frame = Frame(0);
    EXPECT_EQ(Point(frame.right - frame.left, frame.bottom - frame.top),
              Point(outer.right - outer.left, outer.bottom - outer.top));
    std::int32_t width = 0;
    std::int32_t height = 0;
    platform::GetClientSize(gui::WindowHandleOf(0), &width, &height);
    EXPECT_EQ(Point(width, height), Point(760, 560 - barHeight));
    EXPECT_EQ(ClientTop() - clientTop, barHeight);  // right below the bar
    EXPECT_EQ(DrainCodes(), (std::vector<int>{gui::EVENT_MOVE, gui::EVENT_SIZE}));
    EXPECT_EQ(InClient(0, gui::StatusBarHandleOf(0)).bottom, height);
}

TEST_F(GuiTest, ChosenItemIsFetchedAfterTheMenuHasClosed) {
    OpenWindow(760, 560);
    BuildFileMenu();
    Settle();
    const auto menuEvents = [](const std::vector<Fetched>& events) {
        std::vector<Fetched> menus;
        for (const Fetched& f : events) {
            if (f.code == gui::EVENT_MENU) menus.push_back(f);
        }
        return menus;
    };
    ASSERT_TRUE(ChooseMenuItem(0, "Datei", "Neu"));
    EXPECT_EQ(menuEvents(Drain()), (std::vector<Fetched>{{gui::EVENT_MENU, 0, -1}}));
    EXPECT_FALSE(MenuIsOpen());
    EXPECT_EQ(gui::WindowEventMenu(), 0);

    ASSERT_TRUE(ChooseMenuItem(0, "Datei", "Öffnen..."));
    EXPECT_EQ(menuEvents(Drain()), (std::vector<Fetched>{{gui::EVENT_MENU, 1, -1}}));
}

// A greyed item shows grey and acts neither when chosen nor through its shortcut, which still
// never reaches the control; enabled again, it acts both ways. Every item with the id, in
// every drop-down, takes the state.
TEST_F(GuiTest, GreyedItemActsNeitherFromTheMenuNorThroughItsShortcut) {
    OpenWindow(760, 560);
    gui::MenuCreate(0, gui::WindowHandleOf(0));
    gui::MenuTitle("Bearbeiten");
    gui::MenuItem(2, "Speichern");
    gui::MenuItem(3, "Editor beenden");
    AddFileMenu();  // a second drop-down, with Speichern again
    gui::MenuEnableItem(0, 2, false);
    ASSERT_NE(gui::WindowAddShortcut(0, 'S' | 0x20000, 2), 0);
    Settle();
    const platform::Handle bar = gui::MenuHandleOf(0);
    EXPECT_EQ(platform::EnableMenuItem(bar, 99, false), -1);  // no such item
    EXPECT_FALSE(gui::MenuItemEnabled(0, 99));
    EXPECT_TRUE(gui::MenuItemEnabled(0, 3));

    const auto saves = [] {
        int count = 0;
        for (const Fetched& f : Drain()) count += f.code == gui::EVENT_MENU && f.object == 2;
        return count;
    };
    const auto shownEnabled = [] { return MenuItemShownEnabled(0, "Speichern"); };
    for (const bool enabled : {false, true, false}) {
        SCOPED_TRACE(enabled);
        if (enabled != gui::MenuItemEnabled(0, 2)) {
            EXPECT_EQ(
                platform::EnableMenuItem(bar, 2, enabled),
                static_cast<std::int32_t>(enabled ? platform::MF_GRAYED : platform::MF_ENABLED));
        }
        EXPECT_EQ(gui::MenuItemEnabled(0, 2), enabled);
        EXPECT_EQ(shownEnabled(), (std::vector<bool>{enabled, enabled}));
        ChooseMenuItem(0, "Datei", "Speichern");
        ProcessEventsFor(0);
        const int saved = saves();
        CloseOpenMenu();
        EXPECT_EQ(saved, enabled ? 1 : 0);
        Key(0, 'S', kControl);
        const std::vector<Fetched> events = Drain();
        EXPECT_EQ(std::count_if(events.begin(), events.end(),
                                [](const Fetched& f) { return f.code == gui::EVENT_MENU; }),
                  enabled ? 1 : 0);
        EXPECT_EQ(std::count_if(events.begin(), events.end(),
                                [](const Fetched& f) { return f.code == 258; }),
                  0);  // the key never turned into a character
    }
}

TEST_F(GuiTest, RecreatingAMenuDestroysTheOldBar) {
    OpenWindow();
    BuildFileMenu();
    const platform::Handle old = gui::MenuHandleOf(0);
    ASSERT_NE(gui::MenuCreate(0, gui::WindowHandleOf(0)), 0);
    EXPECT_EQ(platform::GetMenuItemCount(old), -1);  // gone
    EXPECT_EQ(platform::GetMenu(gui::WindowHandleOf(0)), 0);
    EXPECT_NE(gui::MenuHandleOf(0), old);
}

TEST_F(GuiTest, StatusBarFieldsEndAtTheirRightEdgesAlongTheBottom) {
    OpenWindow(760, 560);
    BuildFileMenu();
    ASSERT_NE(gui::StatusBarCreate(0, gui::WindowHandleOf(0)), 0);
    const platform::Handle bar = gui::StatusBarHandleOf(0);
    EXPECT_EQ(platform::StatusBarPartCount(bar), 1);  // no fields yet: one part
    for (int width : {55, 55, 400, 250}) gui::StatusBarField(width);
    ASSERT_EQ(platform::StatusBarPartCount(bar), 4);
    const int edges[] = {55, 110, 510, 760};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(platform::StatusBarRightEdge(bar, i), edges[i]);

    const platform::Rect shown = InClient(0, bar);
    EXPECT_EQ(shown.right - shown.left, 760);
    EXPECT_EQ(shown.bottom, ClientSize(gui::WindowHandleOf(0)).y());
    EXPECT_GE(shown.bottom - shown.top, 20);

    gui::StatusBarText(0, 2, runtime::Cp1252("Datei nicht geschrieben"));
    EXPECT_EQ(platform::GetWindowText(bar), "");  // field 0 stays empty
    gui::StatusBarText(0, 9, "x");                // no such field: nothing
    gui::StatusBarText(3, 0, "x");                // no such bar: nothing
}

TEST_F(GuiTest, StatusBarMovesOnlyWhenTheClientSizeChanged) {
    OpenWindow(400, 300, 0x00CF0000);  // with a sizing frame
    ASSERT_NE(gui::StatusBarCreate(0, gui::WindowHandleOf(0)), 0);
    const platform::Handle bar = gui::StatusBarHandleOf(0);
    const int placed = platform::StatusBarPlaceCount(bar);
    EXPECT_GE(placed, 1);  // creation sent the window a size message
    DrainCodes();

    platform::SendMessage(gui::WindowHandleOf(0), platform::WM_SIZE, 0,
                          platform::MakeLParam(400, 300));
    EXPECT_EQ(platform::StatusBarPlaceCount(bar), placed);

    // The user makes the window bigger: events keep coming, the bar keeps to the bottom.
    GrowWindow(0, 100, 50);
    ProcessEventsFor(20);
    const std::vector<int> codes = DrainCodes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), gui::EVENT_SIZE), codes.end());
    EXPECT_EQ(platform::StatusBarPlaceCount(bar), placed + 1);
    const platform::Rect shown = InClient(0, bar);
    EXPECT_EQ(shown.right - shown.left, 500);
    EXPECT_EQ(shown.bottom, 350);
}

TEST_F(GuiTest, SecondStatusBarStartsEmptyAndTakesOverTheWindow) {
    OpenWindow(400, 300, 0x00CF0000);
    gui::StatusBarCreate(0, gui::WindowHandleOf(0));
    gui::StatusBarField(100);
    gui::StatusBarField(100);
    gui::StatusBarCreate(1, gui::WindowHandleOf(0));
    const platform::Handle second = gui::StatusBarHandleOf(1);
    EXPECT_EQ(platform::StatusBarPartCount(second), 1);
    gui::StatusBarField(30);
    EXPECT_EQ(platform::StatusBarRightEdge(second, 0), 30);
    EXPECT_EQ(platform::StatusBarPartCount(gui::StatusBarHandleOf(0)), 2);

    // One hook: a resize places the newer bar once and leaves the older one.
    const int placedFirst = platform::StatusBarPlaceCount(gui::StatusBarHandleOf(0));
    const int placedSecond = platform::StatusBarPlaceCount(second);
    GrowWindow(0, 50, 0);
    ProcessEventsFor(20);
    DrainCodes();
    EXPECT_EQ(platform::StatusBarPlaceCount(second), placedSecond + 1);
    EXPECT_EQ(platform::StatusBarPlaceCount(gui::StatusBarHandleOf(0)), placedFirst);
}

TEST_F(GuiTest, ClosingTheWindowFreesItsStatusBar) {
    OpenWindow();
    gui::StatusBarCreate(2, gui::WindowHandleOf(0));
    ASSERT_NE(gui::StatusBarHandleOf(2), 0);
    gui::WindowClose(0);
    EXPECT_EQ(gui::StatusBarHandleOf(2), 0);
}

}  // namespace
}  // namespace testing_support
