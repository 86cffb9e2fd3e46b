// Windows by number: opening, the queued events of showing, the queue's merging, closing,
// titles, fetch timeouts, shortcuts and the mouse position.
#include <chrono>

#include "GuiFixture.h"
#if GUI_TESTS_ON_QT
#include <QWidget>

#include "support/qt/Widgets.h"
#endif
#include "platform/Ui.h"
#include "runtime/RtString.h"

namespace testing_support {
namespace {

using gui::WindowHandleOf;

TEST_F(GuiTest, EditorWindowOpensCentredWithExactClientSizeAndQueuesWhatShowingRaised) {
    const gui::WindowHandle handle = gui::WindowOpen(
        0, 0, 0, 760, 560, runtime::Cp1252("Veldrane Murmelwald Karteneditor 1.0"), 0xCA0001);
    ASSERT_NE(handle, 0);
    EXPECT_EQ(handle, WindowHandleOf(0));
    std::int32_t width = 0;
    std::int32_t height = 0;
    ASSERT_TRUE(platform::GetClientSize(handle, &width, &height));
    EXPECT_EQ(width, 760);
    EXPECT_EQ(height, 560);

    EXPECT_EQ(WindowTitle(0), "Veldrane Murmelwald Karteneditor 1.0");
#if GUI_TESTS_ON_QT  // the toolkit's own flags for the frame's boxes
    QWidget* top = TopWidget(0);
    const Qt::WindowFlags flags = top->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(top->minimumSize(), top->maximumSize());  // no sizing frame
#endif

    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    platform::ScreenSize(&screenWidth, &screenHeight);
    const platform::Rect frame = Frame(0);
    EXPECT_EQ(frame.left, (screenWidth - (frame.right - frame.left)) / 2);
    EXPECT_EQ(frame.top, (screenHeight - (frame.bottom - frame.top)) / 2);
}

TEST_F(GuiTest, FirstFetchesReturnTheShowEventsInOrder) {
    ASSERT_NE(gui::WindowOpen(0, 10, 10, 200, 100, "x", 0), 0);
    const std::vector<int> expected = {gui::EVENT_ACTIVATE, gui::EVENT_REPAINT, gui::EVENT_SIZE,
                                       gui::EVENT_MOVE};
    std::vector<int> first;
    for (int i = 0; i < 4; ++i) {
        first.push_back(gui::WindowEventFetch(0));
        EXPECT_EQ(gui::WindowEventWindow(), 0);
    }
    EXPECT_EQ(first, expected);
}

TEST_F(GuiTest, FlagsDecideCaptionVisibilityAndFrame) {
    struct Case {
        int flags;
        bool visible;
        bool title;
        bool maximised = false;
    };
    const Case cases[] = {
        {0, true, true},                              // no style bits: a caption is added
        {0x10000000, false, true},                    // invisible, still with the added caption
        {0x00800000, true, false},                    // a border only
        {0x00C00000 | 0x00040000, true, true},        // caption and sizing frame
        {0x00CA0000 | 0x01000000, true, true, true},  // maximised without a sizing frame
        {0x00CF0000 | 0x01000000, true, true, true},  // and with one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        ASSERT_NE(gui::WindowOpen(3, 5, 5, 120, 80, "t", c.flags), 0);
        EXPECT_EQ(platform::IsWindowVisible(WindowHandleOf(3)), c.visible);
        EXPECT_EQ(HasCaption(3), c.title);
        EXPECT_EQ(IsMaximised(3), c.maximised);
        if (c.maximised) {  // the client area fills the screen, not 120 x 80
            ProcessEventsFor(20);
            std::int32_t screenWidth = 0;
            std::int32_t screenHeight = 0;
            platform::ScreenSize(&screenWidth, &screenHeight);
            EXPECT_GT(ClientSize(WindowHandleOf(3)).x(), screenWidth / 2);
            EXPECT_GT(ClientSize(WindowHandleOf(3)).y(), screenHeight / 2);
            // Restored, it has its own size again, fixed unless it has a sizing frame.
            Restore(3);
            ProcessEventsFor(20);
            EXPECT_EQ(ClientSize(WindowHandleOf(3)), Point(120, 80));
            EXPECT_EQ(!IsSizable(3), (c.flags & 0x00040000) == 0);
        }
        if (!c.visible) {
            EXPECT_TRUE(DrainCodes().empty());
        }
        gui::WindowClose(3);
        EXPECT_EQ(WindowHandleOf(3), 0);
        DrainCodes();
    }
}

TEST_F(GuiTest, NumberMinusOneGivesAnIdentifierThatWorksAsTheNumber) {
    const gui::WindowHandle id = gui::WindowOpen(-1, 0, 0, 50, 50, "dyn", 0);
    ASSERT_LT(id, -1);
    const auto number = static_cast<std::int32_t>(id);
    EXPECT_NE(WindowHandleOf(number), 0);
    EXPECT_EQ(gui::WindowSetTitle(number, "neu"), 1);
    EXPECT_EQ(WindowTitle(number), "neu");
    gui::WindowClose(number);
    EXPECT_EQ(WindowHandleOf(number), 0);
}

TEST_F(GuiTest, ReopeningANumberClosesTheOldWindow) {
    ASSERT_NE(gui::WindowOpen(1, 0, 0, 50, 50, "a", 0), 0);
    const platform::Handle first = WindowHandleOf(1);
    ASSERT_NE(gui::WindowOpen(1, 0, 0, 60, 60, "b", 0), 0);
    EXPECT_FALSE(platform::IsWindow(first) && first != WindowHandleOf(1));
    EXPECT_EQ(platform::TopLevelWindows().size(), 1u);
    EXPECT_EQ(WindowTitle(1), "b");
    EXPECT_EQ(ClientSize(WindowHandleOf(1)), Point(60, 60));
}

TEST_F(GuiTest, SetTitleNeedsAWindowAndAText) {
    OpenWindow();
    EXPECT_EQ(gui::WindowSetTitle(0, runtime::Cp1252("Größe <NONAME>")), 1);
    EXPECT_EQ(WindowTitle(0), "Größe <NONAME>");
    EXPECT_EQ(gui::WindowSetTitle(0, std::string_view{}), 0);
    EXPECT_EQ(WindowTitle(0), "Größe <NONAME>");
    EXPECT_EQ(gui::WindowSetTitle(7, "x"), 0);
}

TEST_F(GuiTest, QueueMergesOnlyConsecutiveDuplicates) {
    OpenWindow();
    const platform::Handle handle = WindowHandleOf(0);
    // Move, move, size, move, size, size: the window system reports these one by one.
    for (std::uint32_t message : {platform::WM_MOVE, platform::WM_MOVE, platform::WM_SIZE,
                                  platform::WM_MOVE, platform::WM_SIZE, platform::WM_SIZE}) {
        platform::SendMessage(handle, message, 0, platform::MakeLParam(400, 300));
    }
    EXPECT_EQ(DrainCodes(), (std::vector<int>{3, 5, 3, 5}));
    EXPECT_EQ(gui::WindowEventWindow(), 0);
}

TEST_F(GuiTest, CloseRequestArrivesAsEventAndLeavesTheWindowOpen) {
    OpenWindow();
    CloseBox(0);
    const std::vector<int> codes = DrainCodes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), gui::EVENT_CLOSE);
    EXPECT_TRUE(platform::IsWindowVisible(WindowHandleOf(0)));
    EXPECT_NE(WindowHandleOf(0), 0);
}

TEST_F(GuiTest, AltF4AsksToClose) {
    OpenWindow();
    Key(0, kKeyF4, kAlt);
    const std::vector<int> codes = DrainCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), gui::EVENT_CLOSE), 1);
    EXPECT_TRUE(platform::IsWindowVisible(WindowHandleOf(0)));
}

TEST_F(GuiTest, FetchTimeouts) {
    OpenWindow();
    using Clock = std::chrono::steady_clock;
    const auto elapsedMs = [](Clock::time_point since) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - since).count();
    };
    Clock::time_point start = Clock::now();
    EXPECT_EQ(gui::WindowEventFetch(0), 0);
    EXPECT_EQ(gui::WindowEventFetch(60), 0);
    EXPECT_GE(elapsedMs(start), 55);

    // Waiting without limit returns once a message arrives.
    RunLater(40, [] { MouseMove(0, Point(20, 20)); });
    start = Clock::now();
    EXPECT_EQ(gui::WindowEventWait(), gui::EVENT_MOUSE_MOVE);
    EXPECT_GE(elapsedMs(start), 30);
}

TEST_F(GuiTest, ShortcutsRaiseMenuEventsAndReplaceTheirItem) {
    OpenWindow();
    EXPECT_EQ(gui::WindowAddShortcut(5, 'K', 7), 0);  // no such window
    EXPECT_NE(gui::WindowAddShortcut(0, 'K', 7), 0);
    EXPECT_NE(gui::WindowAddShortcut(0, 'K', 9), 0);                // same key: replaced
    EXPECT_NE(gui::WindowAddShortcut(0, 'K' | 0x20000, 11), 0);     // with Control: its own
    EXPECT_NE(gui::WindowAddShortcut(0, 'K' | 0x50000, 70000), 0);  // Shift+Alt, 16-bit item

    struct Case {
        Modifiers modifiers;
        int item;
    };
    for (const Case& c : {Case{{}, 9}, Case{kControl, 11},
                          Case{kShift | kAlt, 70000 & 0xFFFF}}) {
        Key(0, 'K', c.modifiers);
        const std::vector<Fetched> events = Drain();
        const auto menu = std::find_if(events.begin(), events.end(),
                                       [](const Fetched& f) { return f.code == gui::EVENT_MENU; });
        ASSERT_NE(menu, events.end());
        EXPECT_EQ(menu->object, c.item);
        EXPECT_EQ(std::count_if(events.begin(), events.end(),
                                [](const Fetched& f) { return f.code == 258; }),
                  0);  // the key never turned into a character
    }
}

// A key that reaches a window before the window system reports it active again (after a
// requester, without a window manager) is still its shortcut: the platform has taken it away
// from the control, so nothing else would act on it.
TEST_F(GuiTest, ShortcutActsForTheWindowTheKeyWentToWhileAnotherIsActive) {
    OpenWindow();
    ASSERT_NE(gui::WindowAddShortcut(0, 'Q' | 0x20000, 42), 0);
    ASSERT_NE(gui::WindowOpen(4, 300, 0, 100, 100, "b", 0), 0);
    ASSERT_TRUE(WaitForWindow(4));
    Settle();
    ASSERT_NE(platform::GetActiveWindow(), gui::WindowHandleOf(0));

    Key(0, 'Q', kControl);
    const std::vector<Fetched> events = Drain();
    const auto menu = std::find_if(events.begin(), events.end(),
                                   [](const Fetched& f) { return f.code == gui::EVENT_MENU; });
    ASSERT_NE(menu, events.end());
    EXPECT_EQ(menu->object, 42);
}

TEST_F(GuiTest, MousePositionIsInclusiveAtTheEdgeAndMinusOneOutside) {
    OpenWindow(400, 300);
    struct Case {
        Point cursor;
        int x;
        int y;
    };
    const Case cases[] = {
        {{10, 20}, 10, 20}, {{400, 300}, 400, 300}, {{401, 20}, -1, -1}, {{20, 301}, -1, -1},
        {{-1, 20}, -1, -1}, {{20, -1}, -1, -1},     {{0, 0}, 0, 0},
    };
    for (const Case& c : cases) {
        CursorTo(0, c.cursor);
        EXPECT_EQ(gui::WindowMouseX(0), c.x) << c.cursor.x() << "," << c.cursor.y();
        EXPECT_EQ(gui::WindowMouseY(0), c.y) << c.cursor.x() << "," << c.cursor.y();
    }
    EXPECT_EQ(gui::WindowMouseX(9), -1);
    EXPECT_EQ(gui::WindowMouseY(9), -1);
}

TEST_F(GuiTest, RuntimeEndClosesEveryWindow) {
    ASSERT_NE(gui::WindowOpen(0, 0, 0, 50, 50, "a", 0), 0);
    ASSERT_NE(gui::WindowOpen(4, 0, 0, 50, 50, "b", 0), 0);
    const platform::Handle a = WindowHandleOf(0);
    const platform::Handle b = WindowHandleOf(4);
    runtime::RuntimeEnd();
    EXPECT_FALSE(platform::IsWindow(a));
    EXPECT_FALSE(platform::IsWindow(b));
    runtime::RuntimeStart();  // for the fixture's end
}

TEST_F(GuiTest, PaintsTheProgramCausesAreNoEventsButAnExposureIs) {
    OpenWindow();
    gui::GadgetListCreate(WindowHandleOf(0));
    gui::GadgetText(3, 10, 10, 100, 20, "vorher");
    gui::GadgetTrackBar(24, 10, 40, 200, 32, 0, 31, 1);
    Settle();
    const PaintCount counter(gui::GadgetHandleOf(3));
    gui::GadgetSetText(3, "nachher");
    gui::GadgetSetState(24, 7);
    gui::UpdateWindow(WindowHandleOf(0));
    EXPECT_GE(counter.Paints(), 1);            // painted at once, not when the loop next runs
    EXPECT_EQ(gui::WindowEventFetch(150), 0);  // and nothing to fetch: a quiet window

    // The window system uncovering the window is an event: the paint, then its erase.
    HideWindow(0);
    ProcessEventsFor(10);
    DrainCodes();
    ASSERT_TRUE(ShowWindowAgain(0));
    const std::vector<int> codes = DrainCodes();
    EXPECT_GE(std::count(codes.begin(), codes.end(), gui::EVENT_REPAINT), 2);
}

TEST_F(GuiTest, CentringOverTheActiveWindow) {
    ASSERT_NE(gui::WindowOpen(0, 100, 50, 400, 300, "a", 0), 0);
    ASSERT_TRUE(WaitForWindow(0));
    ASSERT_NE(gui::WindowOpen(1, 0, 0, 200, 100, "b", 2), 0);
    const platform::Rect parent = Frame(0);
    const platform::Rect child = Frame(1);
    EXPECT_EQ(child.left, parent.left + ((parent.right - parent.left) - (child.right - child.left)) / 2);
    EXPECT_EQ(child.top, parent.top + ((parent.bottom - parent.top) - (child.bottom - child.top)) / 2);
}

}  // namespace
}  // namespace testing_support
