// Windows by number: opening, the queued events of showing, the queue's merging, closing,
// titles, fetch timeouts, shortcuts and the mouse position.
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>

#include "GuiFixture.h"
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

    QWidget* top = TopWidget(0);
    EXPECT_EQ(top->windowTitle(), QString::fromUtf8("Veldrane Murmelwald Karteneditor 1.0"));
    const Qt::WindowFlags flags = top->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowTitleHint);
    EXPECT_TRUE(flags & Qt::WindowSystemMenuHint);
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(top->minimumSize(), top->maximumSize());  // no sizing frame

    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    platform::ScreenSize(&screenWidth, &screenHeight);
    const QRect frame = top->frameGeometry();
    EXPECT_EQ(frame.left(), (screenWidth - frame.width()) / 2);
    EXPECT_EQ(frame.top(), (screenHeight - frame.height()) / 2);
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
        QWidget* top = TopWidget(3);
        EXPECT_EQ(top->isVisible(), c.visible);
        EXPECT_EQ(static_cast<bool>(top->windowFlags() & Qt::WindowTitleHint), c.title);
        EXPECT_EQ(top->isMaximized(), c.maximised);
        if (c.maximised) {  // the client area fills the screen, not 120 x 80
            QTest::qWait(20);
            const QWidget* client = HandleWidget(WindowHandleOf(3));
            std::int32_t screenWidth = 0;
            std::int32_t screenHeight = 0;
            platform::ScreenSize(&screenWidth, &screenHeight);
            EXPECT_GT(client->width(), screenWidth / 2);
            EXPECT_GT(client->height(), screenHeight / 2);
            // Restored, it has its own size again, fixed unless it has a sizing frame.
            top->showNormal();
            QTest::qWait(20);
            EXPECT_EQ(client->size(), QSize(120, 80));
            EXPECT_EQ(top->minimumSize() == top->maximumSize(), (c.flags & 0x00040000) == 0);
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
    EXPECT_EQ(TopWidget(number)->windowTitle(), QStringLiteral("neu"));
    gui::WindowClose(number);
    EXPECT_EQ(WindowHandleOf(number), 0);
}

TEST_F(GuiTest, ReopeningANumberClosesTheOldWindow) {
    ASSERT_NE(gui::WindowOpen(1, 0, 0, 50, 50, "a", 0), 0);
    const QPointer<QWidget> first = TopWidget(1);
    ASSERT_NE(gui::WindowOpen(1, 0, 0, 60, 60, "b", 0), 0);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(TopWidget(1)->windowTitle(), QStringLiteral("b"));
    EXPECT_EQ(HandleWidget(WindowHandleOf(1))->size(), QSize(60, 60));
}

TEST_F(GuiTest, SetTitleNeedsAWindowAndAText) {
    OpenWindow();
    EXPECT_EQ(gui::WindowSetTitle(0, runtime::Cp1252("Größe <NONAME>")), 1);
    EXPECT_EQ(TopWidget(0)->windowTitle(), QString::fromUtf8("Größe <NONAME>"));
    EXPECT_EQ(gui::WindowSetTitle(0, std::string_view{}), 0);
    EXPECT_EQ(TopWidget(0)->windowTitle(), QString::fromUtf8("Größe <NONAME>"));
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
    TopQWindow(0)->close();
    const std::vector<int> codes = DrainCodes();
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.back(), gui::EVENT_CLOSE);
    EXPECT_TRUE(TopWidget(0)->isVisible());
    EXPECT_NE(WindowHandleOf(0), 0);
}

TEST_F(GuiTest, AltF4AsksToClose) {
    OpenWindow();
    Key(0, Qt::Key_F4, Qt::AltModifier);
    const std::vector<int> codes = DrainCodes();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), gui::EVENT_CLOSE), 1);
    EXPECT_TRUE(TopWidget(0)->isVisible());
}

TEST_F(GuiTest, FetchTimeouts) {
    OpenWindow();
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(gui::WindowEventFetch(0), 0);
    EXPECT_EQ(gui::WindowEventFetch(60), 0);
    EXPECT_GE(clock.elapsed(), 55);

    // Waiting without limit returns once a message arrives.
    QTimer::singleShot(40, [] { MouseMove(0, QPoint(20, 20)); });
    clock.restart();
    EXPECT_EQ(gui::WindowEventWait(), gui::EVENT_MOUSE_MOVE);
    EXPECT_GE(clock.elapsed(), 30);
}

TEST_F(GuiTest, ShortcutsRaiseMenuEventsAndReplaceTheirItem) {
    OpenWindow();
    EXPECT_EQ(gui::WindowAddShortcut(5, 'K', 7), 0);  // no such window
    EXPECT_NE(gui::WindowAddShortcut(0, 'K', 7), 0);
    EXPECT_NE(gui::WindowAddShortcut(0, 'K', 9), 0);                // same key: replaced
    EXPECT_NE(gui::WindowAddShortcut(0, 'K' | 0x20000, 11), 0);     // with Control: its own
    EXPECT_NE(gui::WindowAddShortcut(0, 'K' | 0x50000, 70000), 0);  // Shift+Alt, 16-bit item

    struct Case {
        Qt::KeyboardModifiers modifiers;
        int item;
    };
    for (const Case& c : {Case{{}, 9}, Case{Qt::ControlModifier, 11},
                          Case{Qt::ShiftModifier | Qt::AltModifier, 70000 & 0xFFFF}}) {
        Key(0, Qt::Key_K, c.modifiers);
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

    Key(0, Qt::Key_Q, Qt::ControlModifier);
    const std::vector<Fetched> events = Drain();
    const auto menu = std::find_if(events.begin(), events.end(),
                                   [](const Fetched& f) { return f.code == gui::EVENT_MENU; });
    ASSERT_NE(menu, events.end());
    EXPECT_EQ(menu->object, 42);
}

TEST_F(GuiTest, MousePositionIsInclusiveAtTheEdgeAndMinusOneOutside) {
    OpenWindow(400, 300);
    struct Case {
        QPoint cursor;
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
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    GadgetWidget(3)->installEventFilter(&counter);
    gui::GadgetSetText(3, "nachher");
    gui::GadgetSetState(24, 7);
    gui::UpdateWindow(WindowHandleOf(0));
    EXPECT_GE(counter.paints, 1);              // painted at once, not when the loop next runs
    EXPECT_EQ(gui::WindowEventFetch(150), 0);  // and nothing to fetch: a quiet window

    // The window system uncovering the window is an event: the paint, then its erase.
    TopWidget(0)->hide();
    QTest::qWait(10);
    DrainCodes();
    TopWidget(0)->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(TopQWindow(0)));
    const std::vector<int> codes = DrainCodes();
    EXPECT_GE(std::count(codes.begin(), codes.end(), gui::EVENT_REPAINT), 2);
}

TEST_F(GuiTest, CentringOverTheActiveWindow) {
    ASSERT_NE(gui::WindowOpen(0, 100, 50, 400, 300, "a", 0), 0);
    ASSERT_TRUE(WaitForWindow(0));
    ASSERT_NE(gui::WindowOpen(1, 0, 0, 200, 100, "b", 2), 0);
    const QRect parent = TopWidget(0)->frameGeometry();
    const QRect child = TopWidget(1)->frameGeometry();
    EXPECT_EQ(child.left(), parent.left() + (parent.width() - child.width()) / 2);
    EXPECT_EQ(child.top(), parent.top() + (parent.height() - child.height()) / 2);
}

}  // namespace
}  // namespace testing_support
